// Loading module files the way the host does, and refusing the ones it would
// refuse with an error that names the file and the cause.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/CameraRecords.h"
#include "workbench/CameraHandler.h"
#include "workbench/Errors.h"
#include "workbench/ModuleLibrary.h"

namespace {

using namespace workbench;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string TinyModule(const std::string& name) { return std::string(TINY_MODULE_DIR) + "/tiny_" + name + ".so"; }

// The error that loading `file` and activating its camera handler gives.
std::string LoadError(const std::string& file) {
    try {
        HostSession session;
        ModuleLibrary module(file);
        CameraHandler handler(module, session);
    } catch (const ModuleError& error) {
        return error.what();
    }
    return "no error";
}

TEST(ModuleLibrary, RefusesModulesTheHostWouldRefuse) {
    struct Case {
        const char* module;
        const char* cause;
    };
    const Case cases[] = {
        {"no_descriptor", "no module descriptor: it does not export _mod_descrip"},
        {"bad_sync", "bad sync word 0x12345678 in the module descriptor (expected 0x4121994)"},
        {"bad_version", "unknown module descriptor version 7 (expected 3)"},
        {"bad_machine", "built for another machine: machine word 0x200 (expected 0x300)"},
        {"startup_fails", "the module's start-up failed"},
        {"no_servers", "no CameraHandler server named \"TarvelinCamera0.1.5\""},
        {"refuses_version",
         "the CameraHandler server \"TarvelinCamera0.1.5\" refused interface version 2 (activation status 1)"},
        {"missing_service",
         "the CameraHandler server \"TarvelinCamera0.1.5\" is missing a host service it needs (activation status 2)"},
        {"odd_status", "the CameraHandler server \"TarvelinCamera0.1.5\" failed to activate (activation status 9)"},
    };
    for (const Case& c : cases) {
        const std::string file = TinyModule(c.module);
        EXPECT_EQ(LoadError(file), file + ": " + c.cause);
    }
}

TEST(ModuleLibrary, RefusesAFileThatIsNotAModule) {
    const std::filesystem::path text = std::filesystem::temp_directory_path() /
                                       ("workbench-not-a-module-" + std::to_string(getpid()) + ".so");
    std::ofstream(text) << "just some text\n";
    EXPECT_THAT(LoadError(text), StartsWith(text.string() + ": not a module, or it cannot be opened ("));
    std::filesystem::remove(text);

    const std::string missing = TinyModule("that_was_never_built");
    EXPECT_THAT(LoadError(missing), StartsWith(missing + ": not a module, or it cannot be opened ("));
}

TEST(ModuleLibrary, InterfaceActivationFailuresAreErrorsToo) {
    HostSession session;
    ModuleLibrary module(TinyModule("refuses_version"));
    const host::ServerEntry& server = module.server(host::kCameraInterfaceClass, kCameraServerName);
    host::CameraInterfaceRecord record{};
    try {
        module.activate(server, host::kCameraInterfaceVersion, HostSession::lookup(), &record);
        FAIL() << "activation succeeded";
    } catch (const ModuleError& error) {
        EXPECT_THAT(error.what(), HasSubstr("CameraInterface server \"TarvelinCamera0.1.5\" refused interface "
                                            "version 4 (activation status 1)"));
    }
}

TEST(ModuleLibrary, FindsTheCameraModulesServersByClassAndName) {
    ModuleLibrary module(TARVELIN_MODULE_PATH);
    EXPECT_EQ(module.descriptor().syncWord, host::kModuleSyncWord);
    EXPECT_STREQ(module.server("CameraHandler", "TarvelinCamera0.1.5").className, "CameraHandler");
    EXPECT_STREQ(module.server("CameraInterface", "TarvelinCamera0.1.5").className, "CameraInterface");
    EXPECT_THROW(module.server("CameraHandler", "SomeOtherCamera"), ModuleError);
    EXPECT_THROW(module.server("ImageFilterHandler", "TarvelinCamera0.1.5"), ModuleError);
}

}  // namespace
