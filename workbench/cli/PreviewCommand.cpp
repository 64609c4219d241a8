// tarvelin preview: the interactive view's wireframe through the camera's
// preview projection.

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
#include "workbench/render/Render.h"

namespace workbench::cli {

namespace {

struct PreviewArguments {
    PictureOptions picture;
    int lensSamples = 1;
};

void Preview(const PreviewArguments& arguments, const GlobalOptions& global) {
    Scene scene = LoadPictureScene(arguments.picture);
    const int frame = ChooseFrames(scene, arguments.picture.frame).front();
    const std::filesystem::path out = arguments.picture.out;
    CheckOutputFile(out);

    Workbench bench(ModulePath(global.module));
    Stage stage(bench.handler(), std::move(scene));
    const render::Image image = render::DrawPreview(stage, frame, {.lensSamples = arguments.lensSamples});
    WritePicture(out, image, frame);
}

}  // namespace

void AddPreviewCommand(CLI::App& app, const GlobalOptions& global) {
    auto arguments = std::make_shared<PreviewArguments>();
    CLI::App* command =
        app.add_subcommand("preview", "Draw the scene's wireframe as the host's interactive view shows it, as PNG");
    AddPictureOptions(*command, arguments->picture, "Frame to draw (default: the scene's first)");
    command->add_option("--lens-samples", arguments->lensSamples, "Lens points blended across the aperture")
        ->check(CountOf(1))
        ->type_name("N")
        ->capture_default_str();
    AddPictureSizeOption(*command, arguments->picture);
    command->callback([arguments, &global] { Preview(*arguments, global); });
}

}  // namespace workbench::cli
