// DrawPreview: the scene's edges through the module's preview projection,
// once per lens point, blended.

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "workbench/render/LineLayer.h"
#include "workbench/render/Render.h"
#include "workbench/render/ViewProjection.h"
#include "workbench/render/Wireframe.h"

namespace workbench::render {

namespace {

// The preview's backdrop: dark, so lines of any colour show.
constexpr Colour kBackdrop{0.03, 0.03, 0.035};

// `count` lens points spread evenly over the unit disc (a Fermat spiral);
// one point is the lens centre.
std::vector<std::pair<double, double>> LensPoints(int count) {
    if (count == 1) return {{0.0, 0.0}};
    const double goldenAngle = std::numbers::pi * (3.0 - std::sqrt(5.0));
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < count; ++i) {
        const double radius = std::sqrt((i + 0.5) / count);
        const double angle = i * goldenAngle;
        points.emplace_back(radius * std::cos(angle), radius * std::sin(angle));
    }
    return points;
}

}  // namespace

Image DrawPreview(Stage& stage, int frame, const PreviewOptions& options) {
    if (options.lensSamples < 1) {
        throw std::invalid_argument("lens samples must be at least 1, not " + std::to_string(options.lensSamples));
    }
    const Scene& scene = stage.scene();
    if (scene.resolution.width < 1 || scene.resolution.height < 1) {
        throw std::invalid_argument("the resolution must be at least 1 × 1");
    }

    // The interactive view shows the frame's start, as the per-frame set-up
    // takes its time.
    const double time = scene.frameTime(frame);
    stage.session().setTime(time);
    const Vector3 position = stage.camera().positionAt(time);
    const Axes axes = stage.camera().axesAt(time);
    const host::CameraAccess access = stage.cameraAccess();
    const std::vector<Segment> edges = SceneEdges(scene.world, position);

    Image image;
    image.width = scene.resolution.width;
    image.height = scene.resolution.height;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, Colour{});
    const std::vector<std::pair<double, double>> lensPoints = LensPoints(options.lensSamples);
    for (const auto& [lensX, lensY] : lensPoints) {
        double matrix[4][4];
        stage.instance().preview(lensX, lensY, matrix, access);
        const ViewProjection view(position, axes, matrix, scene.film, scene.resolution);
        LineLayer layer(image.width, image.height);
        for (const Segment& edge : edges) {
            if (const auto line = view.project(edge.from, edge.to)) layer.drawLine(line->first, line->second, edge.colour);
        }
        layer.addOver(kBackdrop, image.pixels);
    }
    for (Colour& pixel : image.pixels) {
        for (double& channel : pixel) channel /= static_cast<double>(lensPoints.size());
    }
    return image;
}

}  // namespace workbench::render
