#include "workbench/cli/PictureOptions.h"

#include <cstdio>

#include "workbench/cli/FrameChoice.h"
#include "workbench/cli/OptionValues.h"
#include "workbench/cli/SceneArgument.h"
#include "workbench/render/PngFile.h"

namespace workbench::cli {

CLI::Option* AddPictureOptions(CLI::App& command, PictureOptions& options, const std::string& frameHelp) {
    AddSceneArgument(command, options.scene);
    command.add_option("--out", options.out, "PNG file to write")->required()->type_name("FILE.png");
    return AddFrameOption(command, options.frame, frameHelp);
}

void AddPictureSizeOption(CLI::App& command, PictureOptions& options) {
    command.add_option("--size", options.size, "Picture size WIDTHxHEIGHT (default: the scene's resolution)")
        ->check(PictureSizeText())
        ->type_name("WxH");
}

Scene LoadPictureScene(const PictureOptions& options) {
    Scene scene = LoadSceneArgument(options.scene);
    if (options.size) {
        const PictureSize size = ParsePictureSize(*options.size);
        scene.resolution = {size.width, size.height};
    }
    return scene;
}

void WritePicture(const std::filesystem::path& file, const render::Image& image, int frame) {
    render::WritePng(file, image.width, image.height, render::ToSrgb8(image));
    std::printf("wrote %s (frame %d, %dx%d)\n", file.c_str(), frame, image.width, image.height);
    std::fflush(stdout);
}

}  // namespace workbench::cli
