#include "workbench/ModuleLibrary.h"

#include <dlfcn.h>

#include <sstream>

#include "host/Activation.h"
#include "workbench/Errors.h"

namespace workbench {

namespace {

std::string Hex(std::uint32_t word) {
    std::ostringstream text;
    text << "0x" << std::hex << word;
    return text.str();
}

std::string LastLoaderError() {
    const char* error = dlerror();
    return error != nullptr ? error : "unknown reason";
}

}  // namespace

ModuleLibrary::ModuleLibrary(std::filesystem::path file) : file_(std::move(file)) {
    dlerror();
    library_ = dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) fail("not a module, or it cannot be opened (" + LastLoaderError() + ")");

    try {
        dlerror();
        descriptor_ = static_cast<const host::ModuleDescriptor*>(dlsym(library_, "_mod_descrip"));
        if (descriptor_ == nullptr) fail("no module descriptor: it does not export _mod_descrip");
        if (descriptor_->syncWord != host::kModuleSyncWord) {
            fail("bad sync word " + Hex(descriptor_->syncWord) + " in the module descriptor (expected " +
                 Hex(host::kModuleSyncWord) + ")");
        }
        if (descriptor_->version != host::kModuleDescriptorVersion) {
            fail("unknown module descriptor version " + std::to_string(descriptor_->version) + " (expected " +
                 std::to_string(host::kModuleDescriptorVersion) + ")");
        }
        if (descriptor_->machine != host::kModuleMachineWord) {
            fail("built for another machine: machine word " + Hex(descriptor_->machine) + " (expected " +
                 Hex(host::kModuleMachineWord) + ")");
        }
        if (descriptor_->servers == nullptr) fail("the module descriptor has no server table");
        if (descriptor_->startup == nullptr) fail("the module descriptor has no start-up function");
        serverData_ = reinterpret_cast<void*>(descriptor_->startup());
        if (serverData_ == nullptr) fail("the module's start-up failed");
    } catch (...) {
        dlclose(library_);
        throw;
    }
}

ModuleLibrary::~ModuleLibrary() {
    if (descriptor_ != nullptr && descriptor_->shutdown != nullptr) descriptor_->shutdown();
    dlclose(library_);
}

const host::ServerEntry& ModuleLibrary::server(std::string_view className, std::string_view serverName) const {
    for (const host::ServerEntry* entry = descriptor_->servers; entry->className != nullptr; ++entry) {
        if (className == entry->className && entry->serverName != nullptr && serverName == entry->serverName) {
            if (entry->activate == nullptr) {
                fail("the " + std::string(className) + " server \"" + std::string(serverName) +
                     "\" has no activation function");
            }
            return *entry;
        }
    }
    fail("no " + std::string(className) + " server named \"" + std::string(serverName) + "\"");
}

void ModuleLibrary::activate(const host::ServerEntry& server, int version, host::GlobalLookup lookup,
                             void* local) const {
    const int status = server.activate(version, lookup, local, serverData_);
    const std::string what = "the " + std::string(server.className) + " server \"" + server.serverName + "\"";
    switch (status) {
    case host::kActivated:
        return;
    case host::kBadVersion:
        fail(what + " refused interface version " + std::to_string(version) + " (activation status 1)");
    case host::kServiceMissing:
        fail(what + " is missing a host service it needs (activation status 2)");
    default:
        fail(what + " failed to activate (activation status " + std::to_string(status) + ")");
    }
}

void ModuleLibrary::fail(const std::string& cause) const {
    throw ModuleError(file_.string() + ": " + cause);
}

}  // namespace workbench
