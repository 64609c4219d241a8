// tarvelin: the camera module run in the workbench from the command line.
// Every failure ends as one "tarvelin: ..." line on stderr and an exit status
// from CommandErrors.h; nothing is thrown out of main.

#include <cstdio>
#include <exception>

#include <CLI/CLI.hpp>

#include "workbench/cli/CommandErrors.h"
#include "workbench/cli/Commands.h"
#include "workbench/cli/ModuleLocation.h"

namespace {

using namespace workbench::cli;

constexpr const char* kCommands = "render, preview, panel, focus and info";

int Fail(int status, const char* message) {
    std::fprintf(stderr, "tarvelin: %s\n", message);
    return status;
}

int Run(int argc, char** argv) {
    CLI::App app(
        "Runs the Tarvelin camera module in a stand-in host: renders scenes through it, draws its "
        "interactive view, shows its settings panel, focuses it on three points and describes the module file.\n"
        "SCENE is a scene file or demo:NAME, a built-in scene (demo:miniature, demo:architecture, "
        "demo:plain, demo:tabletop).\n"
        "Exit status: 0 done, 1 the work failed (scene, module, output), 2 the command line is wrong.",
        "tarvelin");
    GlobalOptions global;
    app.add_option("--module", global.module,
                   std::string("Camera module file (default: ") + kModuleFileName + " beside this program)")
        ->type_name("FILE");
    // At most one command; a missing or unknown one is reported below, by name.
    app.require_subcommand(0, 1);
    // Options of the whole program may also follow the subcommand.
    app.fallthrough();
    AddRenderCommand(app, global);
    AddPreviewCommand(app, global);
    AddPanelCommand(app, global);
    AddFocusCommand(app, global);
    AddInfoCommand(app, global);

    const auto usage = [](const std::string& message) {
        return Fail(kExitUsage, (message + " (see tarvelin --help)").c_str());
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help is a "parse error" that exits successfully.
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
        // A word that names no command is left over as an unexpected argument.
        if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr && app.get_subcommands().empty() &&
            !app.remaining().empty()) {
            return usage("unknown command \"" + app.remaining().front() + "\"; the commands are " + kCommands);
        }
        return usage(error.what());
    }
    if (app.get_subcommands().empty()) return usage(std::string("no command given; the commands are ") + kCommands);
    return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        return Fail(kExitFailure, error.what());
    } catch (...) {
        return Fail(kExitFailure, "failed for an unknown reason");
    }
}
