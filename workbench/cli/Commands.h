#pragma once
// The program's subcommands. Each adds itself to the application with its
// options; its callback does the work and throws on failure.

#include <string>

#include <CLI/CLI.hpp>

namespace workbench::cli {

// Options that every subcommand sees.
struct GlobalOptions {
    std::string module;  // empty: the module beside the program
};

void AddRenderCommand(CLI::App& app, const GlobalOptions& global);
void AddPreviewCommand(CLI::App& app, const GlobalOptions& global);
void AddPanelCommand(CLI::App& app, const GlobalOptions& global);
void AddFocusCommand(CLI::App& app, const GlobalOptions& global);
void AddInfoCommand(CLI::App& app, const GlobalOptions& global);

}  // namespace workbench::cli
