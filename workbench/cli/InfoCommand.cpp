// tarvelin info: what a module file holds as the host sees it: its
// descriptor, its servers and the camera's description line.

#include <cstdio>
#include <memory>

#include <fmt/format.h>

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
    std::string text = fmt::format("Module {}\n", bench.module().file().string());
    text += fmt::format("Descriptor: sync word {:#010x}, version {}, machine {:#x}\n", descriptor.syncWord,
                        descriptor.version, descriptor.machine);
    text += "Servers:\n";
    for (const host::ServerEntry* entry = descriptor.servers; entry->className != nullptr; ++entry) {
        // The workbench does not read tag lists; it says only whether one is there.
        text += fmt::format("  {:<16} {:<22} {}\n", entry->className, TextOrNone(entry->serverName),
                            entry->tags == nullptr ? "no user names (no tag list)" : "has a tag list (not read)");
    }
    // A camera of a fresh scene, made and destroyed as the host would.
    const Stage stage(bench.handler(), Scene{});
    text += fmt::format("Camera description: {}\n", TextOrNone(stage.instance().describe()));
    // Printed whole, so a failure part-way leaves no partial description.
    std::fputs(text.c_str(), stdout);
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
