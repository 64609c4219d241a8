// Frames rendered through the built camera module: where the lens puts
// things, what is sharp, how motion and threads change the picture.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "tests/render/RenderFixture.h"
#include "workbench/Errors.h"
#include "workbench/render/ViewProjection.h"

namespace render_test {
namespace {

Vector3 Along(const Vector3& from, const Vector3& direction, double distance) {
    return {from[0] + direction[0] * distance, from[1] + direction[1] * distance, from[2] + direction[2] * distance};
}

// Where the module's preview matrix (lens centre) puts a world point.
PixelPoint PreviewPixel(Stage& stage, int frame, const Vector3& world) {
    const double time = stage.scene().frameTime(frame);
    stage.session().setTime(time);
    double matrix[4][4];
    stage.instance().preview(0.0, 0.0, matrix, stage.cameraAccess());
    const ViewProjection view(stage.camera().positionAt(time), stage.camera().axesAt(time), matrix,
                              stage.scene().film, stage.scene().resolution);
    const auto pixel = view.project(world);
    EXPECT_TRUE(pixel.has_value());
    return pixel.value_or(PixelPoint{-1.0, -1.0});
}

struct PinholeCase {
    const char* name;
    double heading, pitch, bank;
    double hShift, vShift;
    double tiltDirection, tiltAngle;
    double right, up;  // the point's offset from the optical axis, metres

    friend void PrintTo(const PinholeCase& c, std::ostream* out) { *out << c.name; }
};

class PinholeProjection : public RenderTest, public ::testing::WithParamInterface<PinholeCase> {};

// With a pinhole and no tilt, the renderer's film mapping and the preview's
// world-to-camera mapping must agree on where a point lands.
TEST_P(PinholeProjection, PointAtTheFocusDistanceLandsWhereThePreviewPutsIt) {
    const PinholeCase& c = GetParam();
    Scene scene = BlackScene({1.0, 2.0, -3.0});
    scene.camera.rotation = {Envelope(c.heading), Envelope(c.pitch), Envelope(c.bank)};
    scene.settings["HShift"] = Envelope(c.hShift);
    scene.settings["VShift"] = Envelope(c.vShift);
    scene.settings["TiltDirection"] = Envelope(c.tiltDirection);
    scene.settings["TiltAngle"] = Envelope(c.tiltAngle);
    const Axes axes = AxesFromRotation(c.heading, c.pitch, c.bank);
    const Vector3 onAxis = Along({1.0, 2.0, -3.0}, axes.forward, 5.0);
    const Vector3 centre = Along(Along(onAxis, axes.right, c.right), axes.up, c.up);
    scene.world.spheres = {{centre, 0.15, {1.0, 1.0, 1.0}}};

    Stage stage(bench->handler(), scene);
    const Image image = RenderFrame(stage, 0, {.samplesPerPixel = 16, .threads = 0, .progress = {}});
    const auto seen = BrightCentre(image);
    ASSERT_TRUE(seen.has_value()) << "the sphere is not in the picture";
    const PixelPoint expected = PreviewPixel(stage, 0, centre);
    EXPECT_NEAR(seen->x, expected.x, 0.25);
    EXPECT_NEAR(seen->y, expected.y, 0.25);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PinholeProjection,
    ::testing::Values(PinholeCase{"OnAxis", 0, 0, 0, 0, 0, 0, 0, 0, 0},
                      PinholeCase{"UpperRight", 0, 0, 0, 0, 0, 0, 0, 0.9, 0.4},
                      PinholeCase{"TurnedAndTipped", 0.7, 0.3, 0, 0, 0, 0, 0, -0.6, 0.3},
                      PinholeCase{"Banked", 0.2, -0.1, 0.4, 0, 0, 0, 0, 0.8, -0.5},
                      PinholeCase{"Shifted", 0.3, 0.2, 0, 0.15, -0.1, 0, 0, 0.2, 0.1},
                      PinholeCase{"Tilted", 0.3, 0.2, 0, 0, 0, 0, 0.2, 0.2, 0.1},
                      PinholeCase{"TiltedSideways", 0.3, 0.2, 0, 0, 0, 1.5707963267948966, 0.2, 0.2, 0.1},
                      PinholeCase{"TiltedAndShifted", 0.3, 0.2, 0, 0.1, 0.05, 0.7, -0.15, -0.4, 0.3}),
    [](const auto& info) { return std::string(info.param.name); });

// Per row, how far a picture strays from the pinhole picture, against the
// row's detail; rows with little detail to lose (far off, where the
// checkers melt into grey) count as lost entirely.
std::vector<double> RowBlur(const Image& image, const Image& pinhole) {
    std::vector<double> detail, stray;
    for (int row = 0; row < image.height; ++row) {
        double d = 0.0, s = 0.0;
        for (int x = 0; x < image.width; ++x) {
            if (x + 1 < image.width) d += std::abs(Luminance(pinhole.at(x + 1, row)) - Luminance(pinhole.at(x, row)));
            s += std::abs(Luminance(image.at(x, row)) - Luminance(pinhole.at(x, row)));
        }
        detail.push_back(d);
        stray.push_back(s);
    }
    const double most = *std::max_element(detail.begin(), detail.end());
    std::vector<double> blur;
    for (std::size_t row = 0; row < detail.size(); ++row) {
        blur.push_back(detail[row] > 0.3 * most ? stray[row] / detail[row] : 1.0);
    }
    return blur;
}

struct TiltCase {
    const char* name;
    double tiltDirection;
    double tiltAngle;

    friend void PrintTo(const TiltCase& c, std::ostream* out) { *out << c.name; }
};

class TiltedFocus : public RenderTest, public ::testing::WithParamInterface<TiltCase> {};

// A wide aperture over a checkered ground: the sharpest row lies where the
// tilted plane of sharp focus meets the ground.
TEST_P(TiltedFocus, SharpestRowIsWhereThePlaneOfSharpFocusMeetsTheGround) {
    const TiltCase& c = GetParam();
    // A table-top scale, so a wide aperture blurs by many pixels.
    const Vector3 position{0.0, 0.3, 0.0};
    const double pitch = 0.5;                     // looking down
    const double heading = std::numbers::pi / 4;  // checker edges run across the rows
    const double focus = 0.45;                    // the focus point is above the ground
    const double zoom = 3.0;
    const double vShift = -0.25;
    Scene scene;
    scene.film = {0.036, 0.024};
    scene.resolution = {96, 72};
    scene.camera.position = {Envelope(position[0]), Envelope(position[1]), Envelope(position[2])};
    scene.camera.rotation = {Envelope(heading), Envelope(pitch), Envelope(0.0)};
    scene.camera.zoomFactor = Envelope(zoom);
    scene.camera.focusDistance = Envelope(focus);
    scene.settings = {{"ZoomFactor", Envelope(zoom)},
                      {"VShift", Envelope(vShift)},
                      {"TiltDirection", Envelope(c.tiltDirection)},
                      {"TiltAngle", Envelope(c.tiltAngle)}};
    scene.world.ground = Ground{0.0, 0.02, {{{0.9, 0.9, 0.9}, {0.05, 0.05, 0.05}}}};
    scene.world.light.ambient = 1.0;

    // The plane of sharp focus holds the point at the focus distance and
    // the film's up direction turned through the tilt towards forward
    // (tilt direction 0 tilts the film's vertical).
    const Axes axes = AxesFromRotation(heading, pitch, 0.0);
    const double f = scene.film.height * zoom * 0.5;
    Vector3 focusUp;
    for (std::size_t i = 0; i < 3; ++i) {
        focusUp[i] = axes.up[i] * std::cos(c.tiltAngle) + axes.forward[i] * std::sin(c.tiltAngle);
    }
    const Vector3 focusPoint = Along(position, axes.forward, focus);
    const double along = -focusPoint[1] / focusUp[1];  // metres up the plane to the ground
    const double filmY = along * f / focus - vShift * scene.film.height;
    const double expectedRow = (0.5 - filmY / scene.film.height) * scene.resolution.height;
    ASSERT_GT(expectedRow, 8.0);
    ASSERT_LT(expectedRow, scene.resolution.height - 8.0);

    scene.camera.fStop = Envelope(1e9);
    Image pinhole;
    {
        Stage stage(bench->handler(), scene);
        pinhole = RenderFrame(stage, 0, {.samplesPerPixel = 64, .threads = 0, .progress = {}});
    }
    scene.camera.fStop = Envelope(0.35);
    Stage stage(bench->handler(), scene);
    const Image wide = RenderFrame(stage, 0, {.samplesPerPixel = 64, .threads = 0, .progress = {}});

    const std::vector<double> blur = RowBlur(wide, pinhole);
    const auto sharpest = std::min_element(blur.begin(), blur.end()) - blur.begin();
    EXPECT_NEAR(static_cast<double>(sharpest) + 0.5, expectedRow, 2.0) << ::testing::PrintToString(blur);
    // And the band is a band: rows well away from it are plainly blurred.
    for (std::size_t row = 0; row < blur.size(); ++row) {
        if (std::abs(static_cast<double>(row) + 0.5 - expectedRow) > 16.0) {
            EXPECT_GT(blur[row], 3.0 * blur[static_cast<std::size_t>(sharpest)]) << "row " << row;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TiltedFocus,
                         ::testing::Values(TiltCase{"Untilted", 0.0, 0.0}, TiltCase{"Forward", 0.0, 0.4},
                                           TiltCase{"Back", 0.0, -0.3}),
                         [](const auto& info) { return std::string(info.param.name); });

// A small scene with everything the renderer does: ground, box, sphere, a
// wide aperture and a camera moving within the shutter.
Scene BusyScene() {
    Scene scene;
    scene.resolution = {64, 48};
    scene.shutter = {0.0, 1.0};
    scene.motionSteps = 2;
    scene.camera.position = {Envelope(0.0, {{0.0, -0.5, Interpolation::Linear}, {1.0 / 24.0, 0.5}}),
                             Envelope(1.5), Envelope(-6.0)};
    scene.camera.rotation = {Envelope(0.0), Envelope(0.15), Envelope(0.0)};
    scene.camera.focusDistance = Envelope(6.0);
    scene.camera.fStop = Envelope(2.0);
    scene.settings = {{"ZoomFactor", Envelope(2.0)}, {"TiltAngle", Envelope(0.05)}};
    scene.world.ground = Ground{};
    scene.world.boxes = {{{0.0, 0.5, 0.0}, {1.0, 1.0, 1.0}, {0.8, 0.2, 0.2}}};
    scene.world.spheres = {{{1.5, 0.5, 2.0}, 0.5, {0.2, 0.4, 0.8}}};
    return scene;
}

TEST_F(RenderTest, OneThreadAndTwoGiveTheSamePicture) {
    Stage stage(bench->handler(), BusyScene());
    const Image one = RenderFrame(stage, 0, {.samplesPerPixel = 4, .threads = 1, .progress = {}});
    const Image two = RenderFrame(stage, 0, {.samplesPerPixel = 4, .threads = 2, .progress = {}});
    EXPECT_EQ(one.width, 64);
    EXPECT_EQ(one.height, 48);
    EXPECT_TRUE(one.pixels == two.pixels);
}

struct MotionCase {
    const char* name;
    bool cameraMoves;
    bool motionSteps;
    bool sameAsStill;  // the picture of the camera held at the shutter's start

    friend void PrintTo(const MotionCase& c, std::ostream* out) { *out << c.name; }
};

class MotionSteps : public RenderTest, public ::testing::WithParamInterface<MotionCase> {};

TEST_P(MotionSteps, OnlyAMovingCameraSampledAcrossTheShutterBlurs) {
    const MotionCase& c = GetParam();
    Scene still = BusyScene();
    still.motionSteps = 0;
    still.camera.position[0] = Envelope(-0.5);
    Image stillPicture;
    {
        Stage stage(bench->handler(), still);
        stillPicture = RenderFrame(stage, 0, {.samplesPerPixel = 4, .threads = 0, .progress = {}});
    }

    Scene scene = BusyScene();
    if (!c.cameraMoves) scene.camera.position[0] = Envelope(-0.5);
    scene.motionSteps = c.motionSteps ? 2 : 0;
    Stage stage(bench->handler(), scene);
    const Image picture = RenderFrame(stage, 0, {.samplesPerPixel = 4, .threads = 0, .progress = {}});
    EXPECT_EQ(picture.pixels == stillPicture.pixels, c.sameAsStill);
}

INSTANTIATE_TEST_SUITE_P(Cases, MotionSteps,
                         ::testing::Values(MotionCase{"MovingWithSteps", true, true, false},
                                           MotionCase{"MovingWithoutSteps", true, false, true},
                                           MotionCase{"StillWithSteps", false, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RenderTest, LightShadowAndAmbientShadeWhatTheRaysMeet) {
    // Looking straight down on an even grey ground, lit at 45° past a red
    // post that casts its shadow towards +x.
    Scene scene = BlackScene({0.0, 10.0, 0.0});
    scene.camera.rotation = {Envelope(0.0), Envelope(std::numbers::pi / 2), Envelope(0.0)};
    scene.world.ground = Ground{0.0, 1.0, {{{0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}}}};
    scene.world.boxes = {{{-2.0, 1.5, 0.0}, {1.0, 3.0, 1.0}, {1.0, 0.0, 0.0}}};
    scene.world.light = {{1.0, -1.0, 0.0}, 0.2};

    Stage stage(bench->handler(), scene);
    const Image image = RenderFrame(stage, 0, {.samplesPerPixel = 4, .threads = 0, .progress = {}});
    const auto redAt = [&](const Vector3& world) {
        const PixelPoint pixel = PreviewPixel(stage, 0, world);
        return image.at(static_cast<int>(pixel.x), static_cast<int>(pixel.y))[0];
    };
    const double facing = std::sqrt(0.5);  // the light's cosine on up-facing surfaces
    EXPECT_NEAR(redAt({2.0, 0.0, 3.0}), 0.5 * (0.2 + 0.8 * facing), 1e-6) << "open ground";
    EXPECT_NEAR(redAt({0.0, 0.0, 0.0}), 0.5 * 0.2, 1e-6) << "ground in the post's shadow";
    EXPECT_NEAR(redAt({-2.0, 3.0, 0.0}), 1.0 * (0.2 + 0.8 * facing), 1e-6) << "the post's top";
}

TEST_F(RenderTest, ProgressRisesToTheWholeFrame) {
    Scene scene = BlackScene();
    scene.resolution = {16, 12};
    Stage stage(bench->handler(), scene);
    std::vector<double> reports;
    RenderFrame(stage, 0, {.samplesPerPixel = 1, .threads = 2, .progress = [&](double done) {
                               reports.push_back(done);
                           }});
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_GT(reports.front(), 0.0);
    EXPECT_EQ(reports.back(), 1.0);
}

TEST_F(RenderTest, OptionsOutOfRangeAreRefused) {
    Stage stage(bench->handler(), BlackScene());
    for (const RenderOptions& options : {RenderOptions{.samplesPerPixel = 0, .threads = 0, .progress = {}},
                                         RenderOptions{.samplesPerPixel = -4, .threads = 0, .progress = {}},
                                         RenderOptions{.samplesPerPixel = 1, .threads = -1, .progress = {}}}) {
        EXPECT_THROW(RenderFrame(stage, 0, options), std::invalid_argument)
            << options.samplesPerPixel << " samples, " << options.threads << " threads";
    }
    EXPECT_THROW(DrawPreview(stage, 0, {.lensSamples = 0}), std::invalid_argument);
}

TEST_F(RenderTest, FrameTheModuleCannotSetUpIsAModuleError) {
    Scene scene = BlackScene();
    scene.motionSteps = -1;  // the module refuses to make a table for it
    Stage stage(bench->handler(), scene);
    EXPECT_THROW(RenderFrame(stage, 0, {.samplesPerPixel = 1, .threads = 0, .progress = {}}), ModuleError);
}

}  // namespace
}  // namespace render_test
