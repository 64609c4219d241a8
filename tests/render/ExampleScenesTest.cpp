// The example scenes shipped for users to copy: each loads and renders, the
// moving one shows its motion only with motion steps, and the focused one
// keeps its whole tabletop sharp.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/render/RenderFixture.h"
#include "tests/support/SharpPoints.h"
#include "workbench/SceneFile.h"

namespace render_test {
namespace {

class ExampleScene : public RenderTest, public ::testing::WithParamInterface<const char*> {
protected:
    // The example at a size that renders in a moment.
    Scene load() const {
        Scene scene = LoadSceneFile(std::filesystem::path(EXAMPLES_DIR) / (std::string(GetParam()) + ".json"));
        scene.resolution = {scene.resolution.width / 10, scene.resolution.height / 10};
        return scene;
    }
};

TEST_P(ExampleScene, RendersSomethingBesidesTheBackground) {
    const Scene scene = load();
    Stage stage(bench->handler(), scene);
    const Image image = RenderFrame(stage, scene.frames.first, {.samplesPerPixel = 1, .threads = 0, .progress = {}});
    const auto background = std::count(image.pixels.begin(), image.pixels.end(), scene.world.background);
    EXPECT_LT(background, static_cast<long>(image.pixels.size()) / 2);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleScene, ::testing::Values("miniature", "architecture", "plain", "tabletop"));

TEST_F(RenderTest, ArchitectureExampleMovesWithinTheShutter) {
    Scene scene = LoadSceneFile(std::filesystem::path(EXAMPLES_DIR) / "architecture.json");
    scene.resolution = {32, 48};
    ASSERT_GT(scene.motionSteps, 0);
    const auto render = [&](int motionSteps) {
        Scene variant = scene;
        variant.motionSteps = motionSteps;
        Stage stage(bench->handler(), variant);
        return RenderFrame(stage, variant.frames.first, {.samplesPerPixel = 4, .threads = 0, .progress = {}});
    };
    EXPECT_FALSE(render(scene.motionSteps).pixels == render(0).pixels);
}

// A level camera with its lens shifted up keeps the building's verticals
// parallel: the rays through one column of the film all lie in one vertical
// plane. Pitching the camera up to frame the top instead makes them converge.
TEST_F(RenderTest, ArchitectureExampleKeepsVerticalsParallel) {
    const Scene scene = LoadSceneFile(std::filesystem::path(EXAMPLES_DIR) / "architecture.json");
    ASSERT_GT(scene.settings.at("VShift").valueAt(0.0), 0.0);
    // How far the horizontal heading (x over z) of the rays at the top and the
    // bottom of a film column near the right edge differ.
    const auto columnSpread = [&](const Scene& variant) {
        Stage stage(bench->handler(), variant);
        stage.setupFrame(variant.frames.first);
        const double filmX = 0.45 * variant.film.width;
        double heading[2];
        for (int end = 0; end < 2; ++end) {
            const double filmY = (end == 0 ? -0.5 : 0.5) * variant.film.height;
            host::CameraRay ray{};
            EXPECT_TRUE(stage.instance().evaluateRay(filmX, filmY, 0.0, 0.0, 0.0, ray));
            heading[end] = ray.direction[0] / ray.direction[2];
        }
        return std::abs(heading[1] - heading[0]);
    };
    EXPECT_LT(columnSpread(scene), 1e-12);

    Scene pitched = scene;
    pitched.settings["VShift"] = Envelope(0.0);
    pitched.camera.rotation[1] = Envelope(-0.3);
    EXPECT_GT(columnSpread(pitched), 1e-2);
}

// The tabletop example was focused on three points of its tabletop: at its
// wide aperture, the rays of every lens point meet at the table's corners,
// edges and middle.
TEST_F(RenderTest, TabletopExampleKeepsTheWholeTabletopSharp) {
    const Scene scene = LoadSceneFile(std::filesystem::path(EXAMPLES_DIR) / "tabletop.json");
    ASSERT_LE(scene.camera.fStop.valueAt(0.0), 2.0) << "a wide aperture, or nothing would be blurred";
    Stage stage(bench->handler(), scene);
    stage.setupFrame(scene.frames.first);
    // The cloth on the table lies 0.762 m up over 1.6 x 0.9 m around the origin.
    for (double x : {-0.8, 0.0, 0.8}) {
        for (double z : {-0.45, 0.0, 0.45}) {
            SCOPED_TRACE("x " + std::to_string(x) + ", z " + std::to_string(z));
            testhost::ExpectSharp(stage.instance(), {x, 0.762, z});
        }
    }
}

}  // namespace
}  // namespace render_test
