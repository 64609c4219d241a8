#include "workbench/cli/FrameChoice.h"

#include <string>

#include "workbench/cli/CommandErrors.h"

namespace workbench::cli {

namespace {

void CheckWithinScene(const Scene& scene, int frame) {
    if (frame < scene.frames.first || frame > scene.frames.last) {
        throw CommandError("frame " + std::to_string(frame) + " is outside the scene's frames " +
                           std::to_string(scene.frames.first) + "-" + std::to_string(scene.frames.last));
    }
}

}  // namespace

std::vector<int> ChooseFrames(const Scene& scene, std::optional<int> frame, std::optional<FrameSpan> span) {
    if (span) {
        CheckWithinScene(scene, span->first);
        CheckWithinScene(scene, span->last);
        std::vector<int> frames;
        for (int each = span->first; each <= span->last; ++each) frames.push_back(each);
        return frames;
    }
    const int chosen = frame.value_or(scene.frames.first);
    CheckWithinScene(scene, chosen);
    return {chosen};
}

CLI::Option* AddFrameOption(CLI::App& command, std::optional<int>& frame, const std::string& help) {
    return command.add_option("--frame", frame, help)->check(CountOf(0))->type_name("N");
}

}  // namespace workbench::cli
