#pragma once
// Which frames a command works on: the scene's first frame unless the command
// line names one frame or a range, which must lie within the scene's frames.

#include <optional>
#include <vector>

#include "workbench/Scene.h"
#include "workbench/cli/OptionValues.h"

namespace workbench::cli {

// Throws CommandError for a frame outside the scene's frames.
std::vector<int> ChooseFrames(const Scene& scene, std::optional<int> frame, std::optional<FrameSpan> span = {});

}  // namespace workbench::cli
