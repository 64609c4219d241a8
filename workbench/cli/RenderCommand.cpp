// tarvelin render: ray-traces frames of a scene through the camera module.

#include <memory>
#include <optional>

#include "workbench/Stage.h"
#include "workbench/Workbench.h"
#include "workbench/cli/Commands.h"
#include "workbench/cli/FrameChoice.h"
#include "workbench/cli/ModuleLocation.h"
#include "workbench/cli/OptionValues.h"
#include "workbench/cli/OutputFile.h"
#include "workbench/cli/PictureOptions.h"
#include "workbench/cli/ProgressBar.h"
#include "workbench/render/Render.h"

namespace workbench::cli {

namespace {

struct RenderArguments {
    PictureOptions picture;
    std::optional<std::string> frames;
    int samplesPerPixel = 16;
    int threads = 0;
};

void Render(const RenderArguments& arguments, const GlobalOptions& global) {
    Scene scene = LoadPictureScene(arguments.picture);
    std::optional<FrameSpan> span;
    if (arguments.frames) span = ParseFrameSpan(*arguments.frames);
    const std::vector<int> frames = ChooseFrames(scene, arguments.picture.frame, span);

    const std::filesystem::path out = arguments.picture.out;
    const auto fileOf = [&](int frame) { return span ? SequenceFile(out, frame) : out; };
    CheckOutputFile(out);

    Workbench bench(ModulePath(global.module));
    Stage stage(bench.handler(), std::move(scene));
    for (int frame : frames) {
        // The bar's line ends before anything else is printed.
        const render::Image image = [&] {
            ProgressBar bar("frame " + std::to_string(frame));
            render::RenderOptions options;
            options.samplesPerPixel = arguments.samplesPerPixel;
            options.threads = arguments.threads;
            options.progress = [&bar](double done) { bar.show(done); };
            return render::RenderFrame(stage, frame, options);
        }();
        WritePicture(fileOf(frame), image, frame);
    }
}

}  // namespace

void AddRenderCommand(CLI::App& app, const GlobalOptions& global) {
    auto arguments = std::make_shared<RenderArguments>();
    CLI::App* command = app.add_subcommand("render", "Ray-trace frames of a scene through the camera and write PNG");
    CLI::Option* frame =
        AddPictureOptions(*command, arguments->picture, "Frame to render (default: the scene's first)");
    CLI::Option* frames = command
                              ->add_option("--frames", arguments->frames,
                                           "Frames FIRST-LAST, one file each, numbered before the extension: "
                                           "--out shot.png writes shot.0012.png for frame 12")
                              ->check(FrameSpanText())
                              ->type_name("A-B");
    frame->excludes(frames);
    command->add_option("--spp", arguments->samplesPerPixel, "Samples per pixel")
        ->check(CountOf(1))
        ->type_name("N")
        ->capture_default_str();
    command->add_option("--threads", arguments->threads, "Rendering threads; 0 uses every core")
        ->check(CountOf(0))
        ->type_name("N")
        ->capture_default_str();
    AddPictureSizeOption(*command, arguments->picture);
    command->callback([arguments, &global] { Render(*arguments, global); });
}

}  // namespace workbench::cli
