// tarvelin focus: the tilt and focus distance that make three points of a
// scene sharp, and the scene with them keyed at a frame.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <optional>

#include <fmt/format.h>

#include "workbench/FocusSolver.h"
#include "workbench/SceneFile.h"
#include "workbench/Stage.h"
#include "workbench/Workbench.h"
#include "workbench/cli/CommandErrors.h"
#include "workbench/cli/Commands.h"
#include "workbench/cli/FrameChoice.h"
#include "workbench/cli/ModuleLocation.h"
#include "workbench/cli/OptionValues.h"
#include "workbench/cli/OutputFile.h"
#include "workbench/cli/SceneArgument.h"

namespace workbench::cli {

namespace {

struct FocusArguments {
    std::string scene;
    std::vector<std::string> through;
    std::optional<int> frame;
    std::optional<std::string> save;
};

// Below this cosine of the tilt the interactive view's near distance, the
// focal length times the cosine, is under a tenth of the focal length, and
// the view's depth loses that much resolution.
constexpr double kSteepCosine = 0.1;

double Degrees(double radians) { return radians * (180.0 / std::numbers::pi); }

// A key at `time` with the curve's own kind of interpolation there.
void SetKey(Envelope& envelope, double time, double value) {
    Key key{time, value};
    const std::vector<Key>& keys = envelope.keys();
    if (!keys.empty()) {
        const auto after = std::upper_bound(keys.begin(), keys.end(), time,
                                            [](double at, const Key& existing) { return at < existing.time; });
        key.interpolation = (after == keys.begin() ? keys.front() : *std::prev(after)).interpolation;
    }
    envelope.setKey(key);
}

Parameter& SettingChannel(const Stage& stage, std::string_view name) {
    Parameter* channel = stage.setting(name);
    if (channel == nullptr) throw CommandError("the camera has no \"" + std::string(name) + "\" channel to key");
    return *channel;
}

void Focus(const FocusArguments& arguments, const GlobalOptions& global) {
    std::array<Vector3, 3> points;
    for (std::size_t i = 0; i < points.size(); ++i) points[i] = ParsePoint(arguments.through.at(i));
    Scene scene = LoadSceneArgument(arguments.scene);
    const int frame = ChooseFrames(scene, arguments.frame).front();
    if (arguments.save) CheckOutputFile(*arguments.save);
    const bool keepsModuleData = scene.moduleData.has_value();

    Workbench bench(ModulePath(global.module));
    Stage stage(bench.handler(), std::move(scene));
    const double time = stage.scene().frameTime(frame);
    const CameraItem& camera = stage.camera();
    Parameter& direction = SettingChannel(stage, "TiltDirection");
    Parameter& angle = SettingChannel(stage, "TiltAngle");

    const FocusSettings focus = SolveFocus({camera.positionAt(time), camera.axesAt(time)}, points,
                                           direction.envelope.valueAt(time));

    std::printf("Focus at frame %d (%g s) through the three points:\n", frame, time);
    std::printf("    %-18s %.6g deg\n", "Tilt direction", Degrees(focus.tiltDirection));
    std::printf("    %-18s %.6g deg\n", "Tilt angle", Degrees(focus.tiltAngle));
    std::printf("    %-18s %.6g m\n", "Focus distance", focus.focusDistance);
    std::fflush(stdout);
    const double cosine = std::cos(focus.tiltAngle);
    if (cosine < kSteepCosine) {
        std::fprintf(stderr,
                     "tarvelin: warning: a tilt of %.4g deg is so steep that the interactive view's near distance "
                     "falls to %.3g of the focal length, and its depth becomes unreliable\n",
                     Degrees(focus.tiltAngle), cosine);
    }
    if (!arguments.save) return;

    SetKey(direction.envelope, time, focus.tiltDirection);
    SetKey(angle.envelope, time, focus.tiltAngle);
    SetKey(stage.camera().focusDistance, time, focus.focusDistance);
    Scene focused = stage.capture();
    // A scene that keeps its settings only as channels stays readable that way.
    if (!keepsModuleData) focused.moduleData.reset();
    SaveSceneFile(focused, *arguments.save);
    std::printf("wrote %s (keys at %g s)\n", arguments.save->c_str(), time);
}

}  // namespace

void AddFocusCommand(CLI::App& app, const GlobalOptions& global) {
    auto arguments = std::make_shared<FocusArguments>();
    CLI::App* command = app.add_subcommand(
        "focus", "Find the tilt and focus distance whose plane of sharp focus passes through three points");
    AddSceneArgument(*command, arguments->scene);
    command->add_option("--through", arguments->through, "Three points X,Y,Z of the scene, in metres, to make sharp")
        ->required()
        ->expected(3)
        ->check(PointText())
        ->type_name("X,Y,Z");
    AddFrameOption(*command, arguments->frame, "Frame whose camera to focus (default: the scene's first)");
    command->add_option("--save", arguments->save,
                        "Scene file to write, with the tilt and focus distance keyed at that frame")
        ->type_name("FILE");
    command->callback([arguments, &global] { Focus(*arguments, global); });
}

}  // namespace workbench::cli
