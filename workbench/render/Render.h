#pragma once
// The workbench's renderer: it ray-traces a staged scene through the loaded
// camera module, as the host's renderer does, and draws the interactive
// view's wireframe through the module's preview projection.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "workbench/Stage.h"

namespace workbench::render {

// A picture in linear RGB, row by row from the top left.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    const Colour& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// 8-bit sRGB bytes, three per pixel, in the image's order.
std::vector<std::uint8_t> ToSrgb8(const Image& image);

struct RenderOptions {
    int samplesPerPixel = 16;  // at least 1
    int threads = 0;           // 0: every core
    // Called now and then from the rendering threads, one at a time, with
    // the share of the frame done so far (0 to 1).
    std::function<void(double done)> progress;
};

// Runs the module's per-frame set-up for `frame`, then traces every pixel
// sample of the scene's resolution through the module's ray evaluation.
// Throws WorkbenchError (ModuleError when the module has no ray evaluation or
// no table to answer from) and std::invalid_argument for options out of range.
Image RenderFrame(Stage& stage, int frame, const RenderOptions& options);

struct PreviewOptions {
    int lensSamples = 1;  // at least 1; more blends lens points across the aperture
};

// The scene's edges (ground grid, boxes, spheres) drawn through the module's
// preview projection at the start of `frame`, as the host's interactive view
// shows them. Throws as RenderFrame does.
Image DrawPreview(Stage& stage, int frame, const PreviewOptions& options);

}  // namespace workbench::render
