// The built camera module run in the workbench: loaded from its file,
// activated with the workbench's services, its camera made, saved and loaded
// through scenes, and its rays driven by animated settings.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <memory>

#include "workbench/CameraHandler.h"
#include "workbench/Errors.h"
#include "workbench/SceneFile.h"
#include "workbench/Stage.h"
#include "workbench/Workbench.h"

namespace {

using namespace workbench;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A scene whose five settings are all animated over the first second.
Scene AnimatedScene() {
    Scene scene;
    scene.film = {0.036, 0.024};
    scene.frames = {0, 24};
    scene.framesPerSecond = 24.0;
    scene.shutter = {0.0, 1.0};
    scene.motionSteps = 1;
    scene.camera.position = {Envelope(0.0, {{0.0, 0.0, Interpolation::Linear}, {1.0, 2.0}}), Envelope(1.5),
                             Envelope(-4.0)};
    scene.camera.zoomFactor = Envelope(2.0);
    scene.camera.focusDistance = Envelope(3.0);
    scene.camera.fStop = Envelope(2.8);
    scene.settings = {
        {"ZoomFactor", Envelope(0.0, {{0.0, 2.0}, {1.0, 2.5}})},
        {"HShift", Envelope(0.0, {{0.0, 0.0, Interpolation::Linear}, {1.0 / 24.0, 0.4}})},
        {"VShift", Envelope(-0.1)},
        {"TiltDirection", Envelope(0.0)},
        {"TiltAngle", Envelope(0.0, {{0.0, 0.0, Interpolation::Linear}, {1.0 / 24.0, 0.2}})},
    };
    return scene;
}

std::filesystem::path TemporaryScene(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("workbench-" + std::to_string(getpid()) + "-" + name + ".json");
}

std::vector<std::uint64_t> RayBits(const host::CameraRay& ray) {
    std::vector<std::uint64_t> bits;
    for (const double* vector : {ray.origin, ray.direction, ray.forwardAxis}) {
        for (int i = 0; i < 3; ++i) bits.push_back(std::bit_cast<std::uint64_t>(vector[i]));
    }
    return bits;
}

// Rays of a few film and lens points at each of the frame's samples.
std::vector<std::uint64_t> FrameRays(Stage& stage, int frame) {
    stage.setupFrame(frame);
    std::vector<std::uint64_t> bits;
    for (double fraction : {0.0, 0.3, 0.6, 1.0}) {
        for (const auto& [filmX, filmY, lensX, lensY] :
             {std::array{0.0, 0.0, 0.0, 0.0}, std::array{0.01, -0.005, 0.5, -0.25}}) {
            host::CameraRay ray{};
            EXPECT_TRUE(stage.instance().evaluateRay(filmX, filmY, lensX, lensY, fraction, ray));
            const auto rayBits = RayBits(ray);
            bits.insert(bits.end(), rayBits.begin(), rayBits.end());
        }
    }
    return bits;
}

class EndToEnd : public ::testing::Test {
protected:
    void TearDown() override {
        if (bench) {
            EXPECT_THAT(bench->session().faults(), IsEmpty());
        }
    }

    std::unique_ptr<Workbench> bench = std::make_unique<Workbench>(TARVELIN_MODULE_PATH);
};

TEST_F(EndToEnd, ActivationInstallsTheCameraAndLensOperations) {
    const host::InstanceOperations& operations = bench->handler().operations();
    EXPECT_NE(operations.create, nullptr);
    EXPECT_NE(operations.save, nullptr);
    EXPECT_TRUE(bench->handler().hasLensOperations());
    EXPECT_NE(bench->handler().record().flags, nullptr);
}

TEST_F(EndToEnd, NewCameraHasItsSettingsAsChannelsOfItsItem) {
    Scene scene;
    scene.camera.zoomFactor = Envelope(0.0, {{0.0, 1.5, Interpolation::Linear}, {10.0, 11.5}});
    scene.frames = {24, 48};  // the camera is made at frame 24: 1 s, zoom factor 2.5
    {
        Stage stage(bench->handler(), scene);
        EXPECT_STREQ(stage.instance().describe(), "OrrenCamera");

        std::vector<std::string> names;
        std::vector<int> types;
        for (const Parameter* channel : stage.camera().channels->channels) {
            names.push_back(channel->channelName);
            types.push_back(channel->type);
        }
        EXPECT_THAT(names, ElementsAre("ZoomFactor", "HShift", "VShift", "TiltDirection", "TiltAngle"));
        EXPECT_THAT(types, ElementsAre(16, 32, 32, 64, 64));
        EXPECT_EQ(stage.setting("ZoomFactor")->envelope, Envelope(2.5));
        EXPECT_EQ(stage.setting("TiltAngle")->envelope, Envelope(0.0));
        EXPECT_EQ(bench->session().findChannelGroup("Camera"), stage.camera().channels);
    }
    // The stage took its camera and the module's parameters with it.
    EXPECT_EQ(bench->session().liveParameterCount(), 0u);
    EXPECT_EQ(bench->session().findCamera("Camera"), nullptr);
}

TEST_F(EndToEnd, PanelActivationWithoutAPanelServiceIsAClearError) {
    Stage stage(bench->handler(), Scene{});
    try {
        bench->handler().activateInterface(stage.instance());
        FAIL() << "the panel activated without a panel service";
    } catch (const ModuleError& error) {
        EXPECT_EQ(std::string(error.what()),
                  std::string(TARVELIN_MODULE_PATH) +
                      ": the CameraInterface server \"TarvelinCamera0.1.5\" is missing a host service it needs "
                      "(activation status 2)");
    }
}

TEST_F(EndToEnd, HandWrittenSceneTakesItsSettingsFromTheChannels) {
    const Scene scene = AnimatedScene();
    Stage stage(bench->handler(), scene);
    for (const auto& [name, envelope] : scene.settings) {
        ASSERT_NE(stage.setting(name), nullptr) << name;
        EXPECT_EQ(stage.setting(name)->envelope, envelope) << name;
    }
}

TEST_F(EndToEnd, SavedSceneLoadsIntoANewSessionWithIdenticalSettings) {
    const std::filesystem::path file = TemporaryScene("round-trip");
    Scene saved;
    std::vector<std::uint64_t> raysBefore;
    {
        Stage stage(bench->handler(), AnimatedScene());
        // An edit as the panel would make it: a key at the current time.
        bench->session().setTime(0.5 / 24.0);
        const auto& parameters = *static_cast<const host::ParameterService*>(
            HostSession::lookup()(host::kParameterServiceName, host::kLookupMode));
        const double edited = 0.123456789;
        parameters.setValue(HostSession::handleOf(*stage.setting("VShift")), &edited);
        raysBefore = FrameRays(stage, 0);
        saved = stage.capture();
        SaveSceneFile(saved, file);
    }
    ASSERT_TRUE(saved.moduleData.has_value());
    EXPECT_FALSE(saved.moduleData->empty());
    EXPECT_EQ(saved.settings.at("VShift"), Envelope(0.123456789));  // unkeyed: the edit became its constant

    bench.reset();
    bench = std::make_unique<Workbench>(TARVELIN_MODULE_PATH);
    Scene loaded = LoadSceneFile(file);
    std::filesystem::remove(file);
    // Take the readable channels away: the module's own data must carry the settings.
    loaded.settings.clear();
    Stage stage(bench->handler(), loaded);
    for (const auto& [name, envelope] : saved.settings) {
        ASSERT_NE(stage.setting(name), nullptr) << name;
        EXPECT_EQ(stage.setting(name)->envelope, envelope) << name;
    }
    EXPECT_EQ(stage.capture().moduleData, saved.moduleData);
    EXPECT_EQ(FrameRays(stage, 0), raysBefore);
}

TEST_F(EndToEnd, DamagedModuleDataIsAnErrorAndLeavesNothingBehind) {
    Scene scene;
    {
        Stage stage(bench->handler(), AnimatedScene());
        scene = stage.capture();
    }
    struct Case {
        const char* name;
        std::vector<std::uint32_t> data;
        const char* message;
    };
    std::vector<std::uint32_t> longer = *scene.moduleData;
    longer.push_back(0);
    std::vector<std::uint32_t> notABlock = *scene.moduleData;
    notABlock[0] = std::bit_cast<std::uint32_t>(1.0f);
    const Case cases[] = {
        {"cut inside a parameter block", {scene.moduleData->begin(), scene.moduleData->begin() + 10},
         "loading the camera's scene data failed: Parameter block cut short"},
        {"cut inside the five floats", {scene.moduleData->begin(), scene.moduleData->end() - 2},
         "loading the camera's scene data failed: the data ends early"},
        {"empty", {}, "Parameter block cut short"},
        {"with floats left over", longer, "1 floats were left unread"},
        {"not a parameter block", notABlock, "Not a parameter block"},
    };
    for (const Case& c : cases) {
        Scene damaged = scene;
        damaged.moduleData = c.data;
        try {
            Stage stage(bench->handler(), damaged);
            ADD_FAILURE() << c.name << ": loaded";
        } catch (const ModuleError& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.message)) << c.name;
            EXPECT_THAT(error.what(), HasSubstr(TARVELIN_MODULE_PATH)) << c.name;
        }
        EXPECT_EQ(bench->session().findCamera("Camera"), nullptr) << c.name;
        EXPECT_EQ(bench->session().liveParameterCount(), 0u) << c.name;
    }
}

TEST_F(EndToEnd, RaysFollowTheAnimatedSettingsAcrossTheShutter) {
    const Scene scene = AnimatedScene();
    Stage stage(bench->handler(), scene);
    const int frame = 0;
    stage.setupFrame(frame);
    const host::FrameSetup setup = scene.frameSetup(frame);
    const double focus = 3.0;
    int checked = 0;
    for (int sample = 0; sample <= 4; ++sample) {
        const double fraction = sample / 4.0;
        const double time = setup.startTime + setup.duration / 4.0 * sample;
        const double zoom = scene.settings.at("ZoomFactor").valueAt(time);
        const double hShift = scene.settings.at("HShift").valueAt(time);
        const double tilt = scene.settings.at("TiltAngle").valueAt(time);
        const double focal = scene.film.height * zoom * 0.5;
        const double scale = focus / focal;  // plane of sharp focus per unit of film
        const std::string context = "sample " + std::to_string(sample);

        // The film centre with the lens centre: the shift moves it across the
        // plane of sharp focus, which the tilt (direction 0) turns about the
        // camera's right axis. The camera looks along +Z from its keyed position.
        host::CameraRay ray{};
        ASSERT_TRUE(stage.instance().evaluateRay(0.0, 0.0, 0.0, 0.0, fraction, ray)) << context;
        const double y = -0.1 * scene.film.height * scale;  // vShift −0.1
        const std::array<double, 3> target = {hShift * scene.film.width * scale, y * std::cos(tilt),
                                              focus + y * std::sin(tilt)};
        const double length = std::hypot(target[0], target[1], target[2]);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(ray.direction[i], target[i] / length, 1e-12) << context;
        EXPECT_NEAR(ray.origin[0], scene.camera.position[0].valueAt(time), 1e-12) << context;
        EXPECT_EQ(ray.origin[1], 1.5) << context;
        EXPECT_EQ(ray.origin[2], -4.0) << context;
        ++checked;
    }
    EXPECT_EQ(checked, 5);
}

TEST_F(EndToEnd, RaysLookAlongTheCamerasRotatedForwardAxis) {
    Scene scene;
    scene.camera.rotation = {Envelope(std::numbers::pi / 2.0), Envelope(0.0), Envelope(0.0)};
    Stage stage(bench->handler(), scene);
    stage.setupFrame(0);
    host::CameraRay ray{};
    ASSERT_TRUE(stage.instance().evaluateRay(0.0, 0.0, 0.0, 0.0, 0.0, ray));
    EXPECT_NEAR(ray.direction[0], 1.0, 1e-12);
    EXPECT_NEAR(ray.direction[1], 0.0, 1e-12);
    EXPECT_NEAR(ray.direction[2], 0.0, 1e-12);
    EXPECT_NEAR(ray.forwardAxis[0], 1.0, 1e-12);
}

}  // namespace
