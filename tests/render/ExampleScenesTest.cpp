// The example scenes shipped for users to copy: each loads and renders, and
// the moving one shows its motion only with motion steps.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/render/RenderFixture.h"
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

INSTANTIATE_TEST_SUITE_P(Examples, ExampleScene, ::testing::Values("miniature", "architecture", "plain"));

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

}  // namespace
}  // namespace render_test
