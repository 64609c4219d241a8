// tarvelin preview: the interactive view's wireframe through the camera's
// preview projection.

#include <cstdio>
#include <memory>
#include <optional>

#include "workbench/Stage.h"
#include "workbench/Workbench.h"
#include "workbench/cli/Commands.h"
#include "workbench/cli/FrameChoice.h"
#include "workbench/cli/ModuleLocation.h"
#include "workbench/cli/OutputFile.h"
#include "workbench/cli/SceneArgument.h"
#include "workbench/render/PngFile.h"
#include "workbench/render/Render.h"

namespace workbench::cli {

namespace {

struct PreviewArguments {
    std::string scene;
    std::string out;
    std::optional<int> frame;
    int lensSamples = 1;
    std::optional<std::string> size;
};

void Preview(const PreviewArguments& arguments, const GlobalOptions& global) {
    Scene scene = LoadSceneArgument(arguments.scene);
    if (arguments.size) {
        const PictureSize size = ParsePictureSize(*arguments.size);
        scene.resolution = {size.width, size.height};
    }
    const int frame = ChooseFrames(scene, arguments.frame).front();
    const std::filesystem::path out = arguments.out;
    CheckOutputFile(out);

    Workbench bench(ModulePath(global.module));
    Stage stage(bench.handler(), std::move(scene));
    const render::Image image = render::DrawPreview(stage, frame, {.lensSamples = arguments.lensSamples});
    render::WritePng(out, image.width, image.height, render::ToSrgb8(image));
    std::printf("wrote %s (frame %d, %dx%d)\n", out.c_str(), frame, image.width, image.height);
}

}  // namespace

void AddPreviewCommand(CLI::App& app, const GlobalOptions& global) {
    auto arguments = std::make_shared<PreviewArguments>();
    CLI::App* command =
        app.add_subcommand("preview", "Draw the scene's wireframe as the host's interactive view shows it, as PNG");
    command->add_option("SCENE", arguments->scene, "Scene file, or demo:NAME for a built-in scene")
        ->required()
        ->type_name("");
    command->add_option("--out", arguments->out, "PNG file to write")->required()->type_name("FILE.png");
    command->add_option("--frame", arguments->frame, "Frame to draw (default: the scene's first)")
        ->check(CountOf(0))
        ->type_name("N");
    command->add_option("--lens-samples", arguments->lensSamples, "Lens points blended across the aperture")
        ->check(CountOf(1))
        ->type_name("N")
        ->capture_default_str();
    command->add_option("--size", arguments->size, "Picture size WIDTHxHEIGHT (default: the scene's resolution)")
        ->check(PictureSizeText())
        ->type_name("WxH");
    command->callback([arguments, &global] { Preview(*arguments, global); });
}

}  // namespace workbench::cli
