#pragma once
// What the renderer's tests share: the built module in a fresh workbench,
// small scenes, and measurements taken from pictures.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "workbench/Stage.h"
#include "workbench/Workbench.h"
#include "workbench/render/Render.h"

namespace render_test {

using namespace workbench;
using namespace workbench::render;

class RenderTest : public ::testing::Test {
protected:
    std::unique_ptr<Workbench> bench = std::make_unique<Workbench>(TARVELIN_MODULE_PATH);
};

// A camera at `position` with no tilt or shift over an empty black world,
// lit by ambient light only, so a surface shows its own colour.
inline Scene BlackScene(Vector3 position = {0.0, 0.0, 0.0}) {
    Scene scene;
    scene.film = {0.036, 0.024};
    scene.resolution = {64, 48};
    scene.camera.position = {Envelope(position[0]), Envelope(position[1]), Envelope(position[2])};
    scene.camera.zoomFactor = Envelope(2.0);
    scene.camera.focusDistance = Envelope(5.0);
    scene.camera.fStop = Envelope(1e9);  // a pinhole
    scene.settings = {{"ZoomFactor", Envelope(2.0)}};
    scene.world.background = {0.0, 0.0, 0.0};
    scene.world.light.ambient = 1.0;
    return scene;
}

inline double Luminance(const Colour& c) { return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]; }

// The brightness-weighted centre of the picture, in pixel coordinates
// (pixel (i, j) spans [i, i + 1) × [j, j + 1)); none for a black picture.
struct Point {
    double x;
    double y;
};
inline std::optional<Point> BrightCentre(const Image& image) {
    double sum = 0.0, x = 0.0, y = 0.0;
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            const double weight = Luminance(image.at(column, row));
            sum += weight;
            x += weight * (column + 0.5);
            y += weight * (row + 0.5);
        }
    }
    if (sum <= 0.0) return std::nullopt;
    return Point{x / sum, y / sum};
}

// The smallest pixel rectangle holding every pixel brighter than `threshold`.
struct Bounds {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < left; }
};
inline Bounds BrightBounds(const Image& image, double threshold) {
    Bounds bounds;
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            if (Luminance(image.at(column, row)) > threshold) {
                bounds.left = std::min(bounds.left, column);
                bounds.right = std::max(bounds.right, column);
                bounds.top = std::min(bounds.top, row);
                bounds.bottom = std::max(bounds.bottom, row);
            }
        }
    }
    return bounds;
}

}  // namespace render_test
