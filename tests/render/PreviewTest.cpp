// The interactive view's wireframe, drawn through the module's preview
// projection.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/render/RenderFixture.h"

namespace render_test {
namespace {

double Difference(const Image& a, const Image& b, const Bounds& region) {
    double sum = 0.0;
    for (int y = std::max(region.top, 0); y <= std::min(region.bottom, a.height - 1); ++y) {
        for (int x = std::max(region.left, 0); x <= std::min(region.right, a.width - 1); ++x) {
            sum += std::abs(Luminance(a.at(x, y)) - Luminance(b.at(x, y)));
        }
    }
    return sum;
}

Bounds Grown(Bounds bounds, int by) {
    return {bounds.left - by, bounds.top - by, bounds.right + by, bounds.bottom + by};
}

constexpr double kDrawn = 0.1;  // brighter than the backdrop

// Where the scene's preview (lens centre) draws anything.
Bounds OutlineOf(Workbench& bench, const Scene& scene) {
    Stage stage(bench.handler(), scene);
    return BrightBounds(DrawPreview(stage, 0, {.lensSamples = 1}), kDrawn);
}

TEST_F(RenderTest, WireframeOutlinesWhatTheRendererShows) {
    // An off-centre box seen through a shifted, tilted lens with a pinhole
    // aperture: the preview's lines lie on the rendered box's outline.
    Scene scene = BlackScene({0.5, 1.0, -2.0});
    scene.camera.rotation = {Envelope(0.3), Envelope(0.1), Envelope(0.0)};
    scene.settings["HShift"] = Envelope(0.1);
    scene.settings["VShift"] = Envelope(-0.05);
    scene.world.boxes = {{{1.8, 0.6, 2.0}, {1.0, 0.8, 1.2}, {1.0, 1.0, 1.0}}};
    Stage stage(bench->handler(), scene);

    const Bounds rendered =
        BrightBounds(RenderFrame(stage, 0, {.samplesPerPixel = 16, .threads = 0, .progress = {}}), 0.5);
    const Bounds drawn = BrightBounds(DrawPreview(stage, 0, {.lensSamples = 1}), 0.5);
    ASSERT_FALSE(rendered.empty());
    ASSERT_FALSE(drawn.empty());
    EXPECT_NEAR(drawn.left, rendered.left, 1);
    EXPECT_NEAR(drawn.right, rendered.right, 1);
    EXPECT_NEAR(drawn.top, rendered.top, 1);
    EXPECT_NEAR(drawn.bottom, rendered.bottom, 1);
}

TEST_F(RenderTest, LensSamplesBlurOnlyWhatIsOffTheFocusDistance) {
    // Two flat panels square to the view at a table-top scale: one at the
    // focus distance, one four times as far, seen through a wide aperture.
    Scene scene = BlackScene({0.0, 0.0, 0.0});
    scene.camera.focusDistance = Envelope(0.3);
    scene.camera.fStop = Envelope(0.35);
    scene.settings = {{"ZoomFactor", Envelope(3.0)}};
    scene.world.boxes = {{{-0.06, 0.0, 0.3}, {0.04, 0.04, 0.0}, {1.0, 1.0, 1.0}},
                         {{0.3, 0.0, 1.2}, {0.3, 0.3, 0.0}, {1.0, 1.0, 1.0}}};
    Stage stage(bench->handler(), scene);

    const Image sharp = DrawPreview(stage, 0, {.lensSamples = 1});
    const Image blended = DrawPreview(stage, 0, {.lensSamples = 9});
    // Each panel's outline, drawn alone.
    Scene nearOnly = scene;
    nearOnly.camera.name = "Near";
    nearOnly.world.boxes.pop_back();
    Scene farOnly = scene;
    farOnly.camera.name = "Far";
    farOnly.world.boxes.erase(farOnly.world.boxes.begin());
    const Bounds nearPanel = Grown(OutlineOf(*bench, nearOnly), 3);
    const Bounds farPanel = Grown(OutlineOf(*bench, farOnly), 3);
    ASSERT_FALSE(nearPanel.empty());
    ASSERT_FALSE(farPanel.empty());
    ASSERT_TRUE(nearPanel.right < farPanel.left) << "the panels' outlines overlap";

    EXPECT_LT(Difference(sharp, blended, nearPanel), 0.05);
    EXPECT_GT(Difference(sharp, blended, farPanel), 2.0);
}

TEST_F(RenderTest, NothingBehindTheCameraIsDrawn) {
    // A level camera over the ground grid, which reaches behind it, with
    // one box behind the camera: every line drawn lies below the horizon.
    Scene scene = BlackScene({0.0, 1.5, 0.0});
    scene.world.ground = Ground{0.0, 0.5, {{{1.0, 1.0, 1.0}, {0.0, 0.0, 0.0}}}};
    scene.world.boxes = {{{0.0, 2.0, -3.0}, {2.0, 2.0, 2.0}, {1.0, 0.0, 0.0}}};
    Stage stage(bench->handler(), scene);

    const Image image = DrawPreview(stage, 0, {.lensSamples = 1});
    const Bounds drawn = BrightBounds(image, kDrawn);
    ASSERT_FALSE(drawn.empty());
    EXPECT_GE(drawn.top, image.height / 2 - 1);
    EXPECT_EQ(drawn.bottom, image.height - 1);
    const auto reddish = std::count_if(image.pixels.begin(), image.pixels.end(),
                                       [](const Colour& pixel) { return pixel[0] - pixel[1] > 0.01; });
    EXPECT_EQ(reddish, 0) << "the box behind the camera shows";
}

}  // namespace
}  // namespace render_test
