#pragma once
// Which frames a command works on: the scene's first frame unless the command
// line names one frame or a range, which must lie within the scene's frames.

#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "workbench/Scene.h"
#include "workbench/cli/OptionValues.h"

namespace workbench::cli {

// Throws CommandError for a frame outside the scene's frames.
std::vector<int> ChooseFrames(const Scene& scene, std::optional<int> frame, std::optional<FrameSpan> span = {});

// Adds --frame N, a frame from 0, with `help`.
CLI::Option* AddFrameOption(CLI::App& command, std::optional<int>& frame, const std::string& help);

}  // namespace workbench::cli
