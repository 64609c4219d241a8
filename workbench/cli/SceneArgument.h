#pragma once
// The SCENE argument of the commands: a scene file, or demo:NAME for a scene
// built into the program.

#include <string>

#include <CLI/CLI.hpp>

#include "workbench/Scene.h"

namespace workbench::cli {

inline constexpr std::string_view kDemoPrefix = "demo:";

// Throws SceneError for a scene that cannot be read or parsed (naming the
// file and the place) and CommandError for an unknown demo name, listing the
// known ones.
Scene LoadSceneArgument(const std::string& argument);

// Adds the required SCENE argument.
void AddSceneArgument(CLI::App& command, std::string& scene);

}  // namespace workbench::cli
