// tarvelin render: ray-traces frames of a scene through the camera module.

#include <cstdio>
#include <memory>
#include <optional>

#include "workbench/Stage.h"
#include "workbench/Workbench.h"
#include "workbench/cli/Commands.h"
#include "workbench/cli/FrameChoice.h"
#include "workbench/cli/ModuleLocation.h"
#include "workbench/cli/OutputFile.h"
#include "workbench/cli/ProgressBar.h"
#include "workbench/cli/SceneArgument.h"
#include "workbench/render/PngFile.h"
#include "workbench/render/Render.h"

namespace workbench::cli {

namespace {

struct RenderArguments {
    std::string scene;
    std::string out;
    std::optional<int> frame;
    std::optional<std::string> frames;
    int samplesPerPixel = 16;
    int threads = 0;
    std::optional<std::string> size;
};

void Render(const RenderArguments& arguments, const GlobalOptions& global) {
    Scene scene = LoadSceneArgument(arguments.scene);
    if (arguments.size) {
        const PictureSize size = ParsePictureSize(*arguments.size);
        scene.resolution = {size.width, size.height};
    }
    std::optional<FrameSpan> span;
    if (arguments.frames) span = ParseFrameSpan(*arguments.frames);
    const std::vector<int> frames = ChooseFrames(scene, arguments.frame, span);

    const std::filesystem::path out = arguments.out;
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
        const std::filesystem::path file = fileOf(frame);
        render::WritePng(file, image.width, image.height, render::ToSrgb8(image));
        std::printf("wrote %s (frame %d, %dx%d)\n", file.c_str(), frame, image.width, image.height);
        std::fflush(stdout);
    }
}

}  // namespace

void AddRenderCommand(CLI::App& app, const GlobalOptions& global) {
    auto arguments = std::make_shared<RenderArguments>();
    CLI::App* command = app.add_subcommand("render", "Ray-trace frames of a scene through the camera and write PNG");
    command->add_option("SCENE", arguments->scene, "Scene file, or demo:NAME for a built-in scene")
        ->required()
        ->type_name("");
    command->add_option("--out", arguments->out, "PNG file to write")->required()->type_name("FILE.png");
    CLI::Option* frame =
        command->add_option("--frame", arguments->frame, "Frame to render (default: the scene's first)")
            ->check(CountOf(0))
            ->type_name("N");
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
    command->add_option("--size", arguments->size, "Picture size WIDTHxHEIGHT (default: the scene's resolution)")
        ->check(PictureSizeText())
        ->type_name("WxH");
    command->callback([arguments, &global] { Render(*arguments, global); });
}

}  // namespace workbench::cli
