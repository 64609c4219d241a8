#pragma once
// What the commands that write a picture of a scene share: the scene, the
// output file, the frame and the picture size, and how the picture is
// written.

#include <filesystem>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "workbench/Scene.h"
#include "workbench/render/Render.h"

namespace workbench::cli {

struct PictureOptions {
    std::string scene;
    std::string out;
    std::optional<int> frame;
    std::optional<std::string> size;
};

// Adds SCENE, --out and --frame (with `frameHelp`); answers the --frame option.
CLI::Option* AddPictureOptions(CLI::App& command, PictureOptions& options, const std::string& frameHelp);
// Adds --size.
void AddPictureSizeOption(CLI::App& command, PictureOptions& options);

// The scene, at the picture size asked for.
Scene LoadPictureScene(const PictureOptions& options);

// Writes the picture as PNG and says so on stdout.
void WritePicture(const std::filesystem::path& file, const render::Image& image, int frame);

}  // namespace workbench::cli
