// tarvelin panel: the camera's settings panel as the host lays it out, and its
// drawing written as PNG.

#include <cstdio>
#include <memory>
#include <optional>

#include "workbench/Stage.h"
#include "workbench/Workbench.h"
#include "workbench/cli/CommandErrors.h"
#include "workbench/cli/Commands.h"
#include "workbench/cli/FrameChoice.h"
#include "workbench/cli/ModuleLocation.h"
#include "workbench/cli/OutputFile.h"
#include "workbench/cli/PanelText.h"
#include "workbench/cli/SceneArgument.h"
#include "workbench/panel/PanelRegistry.h"
#include "workbench/panel/PanelValues.h"
#include "workbench/render/PngFile.h"

namespace workbench::cli {

namespace {

// The host draws a thumbnail control into a square of this side.
constexpr int kThumbnailSide = 100;
constexpr panel::Rgb kThumbnailBackground{0, 0, 0};

struct PanelArguments {
    std::string scene;
    std::optional<int> frame;
    std::optional<std::string> out;
};

// Everything the service recorded as refused, as one line.
void CheckNoFaults(const panel::PanelRegistry& registry, const HostSession& session) {
    std::string faults;
    for (const auto* list : {&registry.faults(), &session.faults()}) {
        for (const std::string& fault : *list) faults += (faults.empty() ? "" : "; ") + fault;
    }
    if (!faults.empty()) throw CommandError("the module misused the host: " + faults);
}

std::vector<std::uint8_t> RgbBytes(const panel::Raster& raster) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(raster.pixels().size() * 3);
    for (const panel::Rgb& pixel : raster.pixels()) bytes.insert(bytes.end(), {pixel.red, pixel.green, pixel.blue});
    return bytes;
}

void ShowPanel(const PanelArguments& arguments, const GlobalOptions& global) {
    Scene scene = LoadSceneArgument(arguments.scene);
    const int frame = ChooseFrames(scene, arguments.frame).front();
    if (arguments.out) CheckOutputFile(*arguments.out);

    Workbench bench(ModulePath(global.module));
    panel::PanelRegistry registry;
    panel::ActivePanelRegistry activeRegistry(registry);
    bench.session().provideService(host::kPanelServiceName, const_cast<host::PanelService*>(registry.service()));
    Stage stage(bench.handler(), std::move(scene));
    // The focal-length line reads the film size that the frame's set-up gives the camera.
    stage.setupFrame(frame);

    const host::CameraInterfaceRecord record = bench.handler().activateInterface(stage.instance());
    panel::Panel* shown = registry.find(record.panel);
    if (shown == nullptr) throw CommandError(bench.module().file().string() + ": the module made no panel");
    if (!shown->valid())
        throw CommandError(bench.module().file().string() + ": the panel is unusable: " + shown->error());

    HostSession& session = bench.session();
    const panel::PanelValues values(
        static_cast<const host::ParameterService*>(session.service(host::kParameterServiceName)),
        [&session] { return session.time(); });
    const panel::PanelLayout layout = values.layout(*shown);

    std::optional<panel::Raster> drawing;
    if (arguments.out) {
        std::optional<host::PanelId> drawn;
        for (const auto& group : layout.groups) {
            for (const auto& control : group.controls) {
                if (control.drawn && !drawn) drawn = control.id;
            }
        }
        for (const auto& control : layout.ungrouped) {
            if (control.drawn && !drawn) drawn = control.id;
        }
        if (!drawn) throw CommandError("the panel has no drawn control to write to " + *arguments.out);
        drawing.emplace(kThumbnailSide, kThumbnailSide, kThumbnailBackground);
        registry.draw(*shown, *drawn, *drawing);
    }
    CheckNoFaults(registry, session);

    // The drawing is written before anything is printed, so a failed write prints only its error.
    if (drawing) render::WritePng(*arguments.out, drawing->width(), drawing->height(), RgbBytes(*drawing));
    std::printf("Panel at frame %d (%g s)\n%s", frame, session.time(), FormatPanel(layout).c_str());
    if (drawing) std::printf("wrote %s (%dx%d)\n", arguments.out->c_str(), drawing->width(), drawing->height());
}

}  // namespace

void AddPanelCommand(CLI::App& app, const GlobalOptions& global) {
    auto arguments = std::make_shared<PanelArguments>();
    CLI::App* command = app.add_subcommand(
        "panel", "Print the camera's settings panel as the host lays it out, with values at a frame");
    AddSceneArgument(*command, arguments->scene);
    AddFrameOption(*command, arguments->frame, "Frame whose values to show (default: the scene's first)");
    command->add_option("--out", arguments->out, "PNG file for the panel's drawing (the tilt diagram)")
        ->type_name("FILE.png");
    command->callback([arguments, &global] { ShowPanel(*arguments, global); });
}

}  // namespace workbench::cli
