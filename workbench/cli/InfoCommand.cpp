// tarvelin info: what a module file holds as the host sees it: its
// descriptor, its servers and the camera's description line.

#include <cstdio>
#include <memory>

#include "workbench/Stage.h"
#include "workbench/Workbench.h"
#include "workbench/cli/Commands.h"
#include "workbench/cli/ModuleLocation.h"

namespace workbench::cli {

namespace {

const char* TextOrNone(const char* text) { return text != nullptr ? text : "(none)"; }

void ShowInfo(const std::string& moduleArgument, const GlobalOptions& global) {
    Workbench bench(ModulePath(moduleArgument.empty() ? global.module : moduleArgument));
    const host::ModuleDescriptor& descriptor = bench.module().descriptor();
    std::printf("Module %s\n", bench.module().file().c_str());
    std::printf("Descriptor: sync word 0x%08x, version %u, machine 0x%x\n", descriptor.syncWord, descriptor.version,
                descriptor.machine);
    std::printf("Servers:\n");
    for (const host::ServerEntry* entry = descriptor.servers; entry->className != nullptr; ++entry) {
        // The workbench does not read tag lists; it says only whether one is there.
        std::printf("  %-16s %-22s %s\n", entry->className, TextOrNone(entry->serverName),
                    entry->tags == nullptr ? "no user names (no tag list)" : "has a tag list (not read)");
    }
    // A camera of a fresh scene, made and destroyed as the host would.
    const Stage stage(bench.handler(), Scene{});
    std::printf("Camera description: %s\n", TextOrNone(stage.instance().describe()));
}

}  // namespace

void AddInfoCommand(CLI::App& app, const GlobalOptions& global) {
    auto module = std::make_shared<std::string>();
    CLI::App* command = app.add_subcommand("info", "Describe a camera module: descriptor, servers and camera");
    command->add_option("MODULE", *module, "Module file (default: --module, or the module beside the program)")
        ->type_name("");
    command->callback([module, &global] { ShowInfo(*module, global); });
}

}  // namespace workbench::cli
