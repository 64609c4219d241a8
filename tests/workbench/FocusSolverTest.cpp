// Focusing on three points, checked against the built module: once its tilt
// and the camera's focus distance are set as solved, every ray the module
// makes for a point's place on the film, whatever the lens point, passes
// through that point.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

#include "tests/support/SharpPoints.h"
#include "tests/support/VectorMath.h"
#include "workbench/FocusSolver.h"
#include "workbench/Stage.h"
#include "workbench/Workbench.h"

namespace {

using namespace workbench;
using testhost::Add;
using testhost::Cross;
using testhost::Dot;
using testhost::ExpectSharp;
using testhost::Length;
using testhost::Scale;
using ::testing::HasSubstr;
using tarvelin::Vector3d;

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180.0;

Vector3d FromVector(const Vector3& v) { return {v[0], v[1], v[2]}; }
Vector3 ToVector(const Vector3d& v) { return {v.x, v.y, v.z}; }

// A turned, banked camera away from the origin, with a wide aperture so that
// lens points lie far apart.
Scene TurnedCamera(double hShift, double vShift) {
    Scene scene;
    scene.film = {0.036, 0.024};
    scene.camera.position = {Envelope(1.0), Envelope(2.0), Envelope(-3.0)};
    scene.camera.rotation = {Envelope(0.5), Envelope(0.3), Envelope(-0.2)};
    scene.camera.zoomFactor = Envelope(2.0);
    scene.camera.focusDistance = Envelope(1.0);
    scene.camera.fStop = Envelope(1.4);
    scene.settings = {{"ZoomFactor", Envelope(2.0)}, {"HShift", Envelope(hShift)}, {"VShift", Envelope(vShift)}};
    return scene;
}

CameraPose PoseOf(const Scene& scene) {
    CameraItem camera;
    camera.position = scene.camera.position;
    camera.rotation = scene.camera.rotation;
    return {camera.positionAt(0.0), camera.axesAt(0.0)};
}

// Sets the solved tilt and focus distance, sets up a frame and checks every
// lens point's ray of each point's film point.
void ExpectRaysMeetAtThePoints(const Workbench& bench, Scene scene, const FocusSettings& focus,
                               const std::array<Vector3, 3>& points) {
    scene.settings["TiltDirection"] = Envelope(focus.tiltDirection);
    scene.settings["TiltAngle"] = Envelope(focus.tiltAngle);
    scene.camera.focusDistance = Envelope(focus.focusDistance);
    Stage stage(bench.handler(), scene);
    stage.setupFrame(0);
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE("point " + std::to_string(i + 1));
        ExpectSharp(stage.instance(), FromVector(points[i]));
    }
}

// Planes given in the camera's own axes: the normal turned `slant` away
// from the forward axis towards the film direction at `azimuth`, through
// the point `distance` ahead. Three points of the plane spread around it.
struct PlaneCase {
    double slant;
    double azimuth;
};

std::array<Vector3, 3> PointsOnPlane(const CameraPose& pose, const PlaneCase& plane, double distance) {
    const Vector3d right = FromVector(pose.axes.right), up = FromVector(pose.axes.up);
    const Vector3d forward = FromVector(pose.axes.forward);
    const auto world = [&](double x, double y, double z) {
        return Add(Add(Scale(right, x), Scale(up, y)), Scale(forward, z));
    };
    const Vector3d normal = world(std::sin(plane.slant) * std::cos(plane.azimuth),
                                  std::sin(plane.slant) * std::sin(plane.azimuth), std::cos(plane.slant));
    // Two directions within the plane.
    const Vector3d helper = std::abs(Dot(normal, right)) < 0.9 ? right : up;
    const Vector3d first = Scale(Cross(normal, helper), 1.0 / Length(Cross(normal, helper)));
    const Vector3d second = Cross(normal, first);
    const Vector3d centre = Add(FromVector(pose.position), Scale(forward, distance));
    const double spread = 0.4 * distance;
    return {ToVector(Add(centre, Add(Scale(first, spread), Scale(second, 0.3 * spread)))),
            ToVector(Add(centre, Add(Scale(first, -0.5 * spread), Scale(second, spread)))),
            ToVector(Add(centre, Add(Scale(first, -0.2 * spread), Scale(second, -0.9 * spread))))};
}

class FocusOnPlanes : public ::testing::TestWithParam<std::tuple<double, double, std::pair<double, double>>> {
protected:
    static void SetUpTestSuite() { bench = std::make_unique<Workbench>(TARVELIN_MODULE_PATH); }
    static void TearDownTestSuite() { bench.reset(); }
    static std::unique_ptr<Workbench> bench;
};
std::unique_ptr<Workbench> FocusOnPlanes::bench;

TEST_P(FocusOnPlanes, RaysOfEveryLensPointMeetAtTheThreePoints) {
    const auto [slant, azimuth, shift] = GetParam();
    const Scene scene = TurnedCamera(shift.first, shift.second);
    const CameraPose pose = PoseOf(scene);
    constexpr double kDistance = 2.5;
    const std::array<Vector3, 3> points = PointsOnPlane(pose, {slant, azimuth}, kDistance);

    const FocusSettings focus = SolveFocus(pose, points, 0.0);
    EXPECT_NEAR(focus.focusDistance, kDistance, 1e-9 * kDistance);
    EXPECT_NEAR(std::abs(focus.tiltAngle), slant, 1e-9);
    ExpectRaysMeetAtThePoints(*bench, scene, focus, points);
}

// From square-on to steeply oblique planes, tilted every way, with the lens
// centred and shifted.
INSTANTIATE_TEST_SUITE_P(
    SlantsAndAzimuths, FocusOnPlanes,
    ::testing::Combine(::testing::Values(0.0, 5 * kDegree, 35 * kDegree, 70 * kDegree, 86 * kDegree),
                       ::testing::Values(0.0, 50 * kDegree, 90 * kDegree, 160 * kDegree, 235 * kDegree,
                                         300 * kDegree),
                       ::testing::Values(std::pair{0.0, 0.0}, std::pair{0.3, -0.2})));

// A scene's own planes: a tabletop below a camera looking slightly down, a
// wall beside it and a ramp ahead.
TEST(FocusOnScenePlanes, TabletopWallAndRampBecomeSharp) {
    Workbench bench(TARVELIN_MODULE_PATH);
    Scene scene = TurnedCamera(0.0, 0.1);
    scene.camera.position = {Envelope(0.0), Envelope(0.95), Envelope(-1.2)};
    scene.camera.rotation = {Envelope(0.15), Envelope(0.25), Envelope(0.0)};
    const CameraPose pose = PoseOf(scene);
    const std::array<Vector3, 3> cases[] = {
        {Vector3{-0.6, 0.75, -0.3}, Vector3{0.6, 0.75, -0.3}, Vector3{0.1, 0.75, 0.4}},  // tabletop
        {Vector3{1.5, 0.0, 0.0}, Vector3{1.5, 2.0, 0.5}, Vector3{1.5, 0.5, 3.0}},        // wall to the right
        {Vector3{-1.0, 0.0, 1.0}, Vector3{1.0, 0.0, 1.0}, Vector3{0.0, 1.0, 4.0}},       // ramp rising ahead
    };
    for (const auto& points : cases) {
        const FocusSettings focus = SolveFocus(pose, points, 0.0);
        ExpectRaysMeetAtThePoints(bench, scene, focus, points);
    }
}

// A plane reached with the direction d and angle a is also reached with
// d + pi and -a; the answer stays near the direction already set and within
// the panel's turn either way of zero.
TEST(SolveFocus, ChoosesTheDirectionNearestTheCurrentOne) {
    const Scene scene = TurnedCamera(0.0, 0.0);
    const CameraPose pose = PoseOf(scene);
    const auto points = PointsOnPlane(pose, {40 * kDegree, 30 * kDegree}, 3.0);
    const FocusSettings base = SolveFocus(pose, points, 0.0);
    ASSERT_NE(base.tiltAngle, 0.0);
    for (double current : {0.0, 1.0, 2.5, kPi, -2.0, 6.0, -6.2, 12.0}) {
        const FocusSettings focus = SolveFocus(pose, points, current);
        SCOPED_TRACE(current);
        EXPECT_LE(std::abs(std::remainder(focus.tiltDirection - current, 2 * kPi)), kPi / 2 + 1e-12);
        EXPECT_LE(std::abs(focus.tiltDirection), 2 * kPi);
        // The same plane: the same axis and angle, or both reversed.
        const double turn = std::remainder(focus.tiltDirection - base.tiltDirection, 2 * kPi);
        if (std::abs(turn) < 1e-9) {
            EXPECT_NEAR(focus.tiltAngle, base.tiltAngle, 1e-12);
        } else {
            EXPECT_NEAR(std::abs(turn), kPi, 1e-9);
            EXPECT_NEAR(focus.tiltAngle, -base.tiltAngle, 1e-12);
        }
        EXPECT_DOUBLE_EQ(focus.focusDistance, base.focusDistance);
    }
}

TEST(SolveFocus, SquareOnPlaneKeepsTheCurrentDirection) {
    const Scene scene = TurnedCamera(0.0, 0.0);
    const CameraPose pose = PoseOf(scene);
    const auto points = PointsOnPlane(pose, {0.0, 0.0}, 4.0);
    const FocusSettings focus = SolveFocus(pose, points, 1.25);
    EXPECT_EQ(focus.tiltDirection, 1.25);
    EXPECT_NEAR(focus.tiltAngle, 0.0, 1e-12);
    EXPECT_NEAR(focus.focusDistance, 4.0, 1e-12);
}

struct NoPlaneCase {
    const char* name;
    std::array<Vector3, 3> points;
    const char* message;
};

std::ostream& operator<<(std::ostream& out, const NoPlaneCase& c) { return out << c.name; }

// The camera of these cases stands at (0, 1, -4) looking along +z.
const NoPlaneCase kNoPlaneCases[] = {
    {"SamePoint", {Vector3{0, 0, 0}, Vector3{1, 0, 0}, Vector3{0, 0, 0}}, "points 1 and 3 coincide"},
    {"AllOnePoint", {Vector3{2, 2, 2}, Vector3{2, 2, 2}, Vector3{2, 2, 2}}, "points 1 and 2 coincide"},
    {"OneLine", {Vector3{0, 0, 0}, Vector3{1, 1, 1}, Vector3{3, 3, 3}}, "lie on one line"},
    {"NearlyOneLine", {Vector3{0, 0, 0}, Vector3{1, 0, 0}, Vector3{2, 1e-12, 0}}, "lie on one line"},
    {"GroundSeenLevel", {Vector3{0, 0, 0}, Vector3{1, 0, 0}, Vector3{0, 0, 1}}, "holds the camera's view direction"},
    {"WallAlongTheView", {Vector3{2, 0, 0}, Vector3{2, 1, 0}, Vector3{2, 0, 5}}, "holds the camera's view direction"},
    {"BehindTheCamera", {Vector3{0, 0, -5}, Vector3{1, 0, -5}, Vector3{0, 1, -6}}, "behind the camera"},
    {"ThroughTheCamera", {Vector3{0, 0, -4}, Vector3{1, 0, -4}, Vector3{0, 3, -4}}, "at the camera"},
    {"NotFinite", {Vector3{0, 0, 0}, Vector3{1, 0, 0}, Vector3{0, NAN, 1}}, "not a finite number"},
};

class SolveFocusRefuses : public ::testing::TestWithParam<NoPlaneCase> {};

TEST_P(SolveFocusRefuses, SayingWhyNoPlaneFits) {
    const CameraPose pose{{0.0, 1.0, -4.0}, AxesFromRotation(0.0, 0.0, 0.0)};
    try {
        SolveFocus(pose, GetParam().points, 0.0);
        ADD_FAILURE() << "solved";
    } catch (const FocusError& error) {
        EXPECT_THAT(error.what(), HasSubstr(GetParam().message));
    }
}

INSTANTIATE_TEST_SUITE_P(NoPlane, SolveFocusRefuses, ::testing::ValuesIn(kNoPlaneCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
