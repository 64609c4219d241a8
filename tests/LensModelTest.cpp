// The lens model on its own: one lens sample made from the settings and the
// camera's placement, and the rays traced through it.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "lens/LensSample.h"
#include "tests/support/VectorMath.h"

namespace {

using tarvelin::CameraPlacement;
using tarvelin::LensSample;
using tarvelin::LensState;
using tarvelin::Vector3d;
using std::numbers::pi;

using testhost::Add;
using testhost::DistanceFromRay;
using testhost::Dot;
using testhost::Length;
using testhost::Scale;
using testhost::Sub;

void ExpectNear(Vector3d actual, Vector3d expected, double tolerance, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what << " " << actual << " vs " << expected;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what << " " << actual << " vs " << expected;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << what << " " << actual << " vs " << expected;
}

// Film 0.03 × 0.02, zoom 2, shifts 0.5 and 0.25, focus 2 at f/4, no tilt, at (10, 1, −3):
// focal length 0.02, lens radius 0.0025, 100 units of the focus plane per unit of film.
constexpr LensState kWorkedLens{2.0, 0.5, 0.25, 0.0, 0.0, 0.03, 0.02, 2.0, 4.0};
constexpr CameraPlacement kWorkedCamera{{10, 1, -3}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

TEST(LensSample, WorkedCase) {
    const LensSample s = tarvelin::MakeLensSample(kWorkedLens, kWorkedCamera);
    EXPECT_DOUBLE_EQ(s.shiftX, 0.015);
    EXPECT_DOUBLE_EQ(s.shiftY, 0.005);
    ExpectNear(s.focusRight, {100, 0, 0}, 1e-12, "focusRight");
    ExpectNear(s.focusUp, {0, 100, 0}, 1e-12, "focusUp");
    ExpectNear(s.focusAxis, {0, 0, 2}, 1e-15, "focusAxis");
    ExpectNear(s.lensRight, {0.0025, 0, 0}, 1e-18, "lensRight");
    ExpectNear(s.lensUp, {0, 0.0025, 0}, 1e-18, "lensUp");
    ExpectNear(s.forwardAxis, {0, 0, 1}, 0.0, "forwardAxis");
    ExpectNear(s.position, {10, 1, -3}, 0.0, "position");
}

TEST(LensSample, AxisLengthsAreDividedOut) {
    CameraPlacement camera = kWorkedCamera;
    camera.right = {2, 0, 0};
    camera.up = {0, 0.5, 0};
    camera.forward = {0, 0, 3};
    const LensSample s = tarvelin::MakeLensSample(kWorkedLens, camera);
    EXPECT_NEAR(Length(s.lensRight), 0.0025, 1e-18);
    EXPECT_NEAR(Length(s.lensUp), 0.0025, 1e-18);
    EXPECT_NEAR(Length(s.focusRight), 100, 1e-12);
    EXPECT_NEAR(Length(s.focusUp), 100, 1e-12);
    EXPECT_NEAR(Length(s.focusAxis), 2, 1e-15);
    ExpectNear(s.forwardAxis, {0, 0, 3}, 0.0, "the forward axis as the host gave it");
}

// The tilt turns the plane of sharp focus about the tilt axis (cos δ, −sin δ, 0):
// for direction 0 the up direction tilts, for 90 degrees the right direction.
TEST(LensSample, TiltTurnsThePlanesDirectionsAboutTheTiltAxis) {
    const double alpha = 0.3;
    struct Case {
        double direction;
        Vector3d focusRight;
        Vector3d focusUp;
    };
    for (const Case& c : {Case{0.0, {100, 0, 0}, {0, 100 * std::cos(alpha), 100 * std::sin(alpha)}},
                          Case{pi / 2, {100 * std::cos(alpha), 0, 100 * std::sin(alpha)}, {0, 100, 0}}}) {
        LensState lens = kWorkedLens;
        lens.tiltDirection = c.direction;
        lens.tiltAngle = alpha;
        const LensSample s = tarvelin::MakeLensSample(lens, kWorkedCamera);
        SCOPED_TRACE(testing::Message() << "tilt direction " << c.direction);
        ExpectNear(s.focusRight, c.focusRight, 1e-12, "focusRight");
        ExpectNear(s.focusUp, c.focusUp, 1e-12, "focusUp");
        ExpectNear(s.focusAxis, {0, 0, 2}, 1e-15, "focusAxis");
        ExpectNear(s.lensRight, {0.0025, 0, 0}, 1e-18, "the lens plane never tilts");
    }
}

TEST(LensRay, ZeroLensPointIsThePinholeRayThroughTheShiftedFilmPoint) {
    const LensSample s = tarvelin::MakeLensSample(kWorkedLens, kWorkedCamera);
    for (auto [x, y] : {std::pair{0.0, 0.0}, std::pair{0.01, -0.007}, std::pair{-0.015, 0.01}}) {
        const tarvelin::LensRay ray = tarvelin::TraceLensSample(s, x, y, 0.0, 0.0);
        SCOPED_TRACE(testing::Message() << "film point " << x << ", " << y);
        ExpectNear(ray.origin, kWorkedCamera.position, 0.0, "origin");
        const Vector3d expected{x + 0.015, y + 0.005, 0.02};  // through the film at the focal length
        ExpectNear(ray.direction, Scale(expected, 1 / Length(expected)), 1e-15, "direction");
    }
}

TEST(LensRay, ShiftMovesTheOpticalAxisOntoTheShiftedFilmPoint) {
    const LensSample s = tarvelin::MakeLensSample(kWorkedLens, kWorkedCamera);
    const tarvelin::LensRay ray = tarvelin::TraceLensSample(s, -0.015, -0.005, 0.0, 0.0);
    EXPECT_EQ(ray.direction.x, 0.0);
    EXPECT_EQ(ray.direction.y, 0.0);
    EXPECT_EQ(ray.direction.z, 1.0);
}

// Every lens point's ray of one film point meets the others on the plane of
// sharp focus, and the plane lies where the tilt puts it: through the point at
// the focus distance, turned by the tilt angle, farther away on the side of the
// film direction (sin δ, cos δ).
TEST(LensRay, RaysOfOneFilmPointMeetOnThePlaneOfSharpFocus) {
    const double alpha = 0.2;
    for (double direction : {0.0, pi / 2, 2.0}) {
        LensState lens = kWorkedLens;
        lens.tiltDirection = direction;
        lens.tiltAngle = alpha;
        CameraPlacement camera = kWorkedCamera;
        const LensSample s = tarvelin::MakeLensSample(lens, camera);
        // The plane's normal: forward turned by α about the tilt axis.
        const Vector3d tilted{std::sin(direction), std::cos(direction), 0};
        const Vector3d normal = Sub(Scale({0, 0, 1}, std::cos(alpha)), Scale(tilted, std::sin(alpha)));
        const Vector3d planePoint = Add(camera.position, {0, 0, 2});

        for (auto [x, y] : {std::pair{0.0, 0.0}, std::pair{0.01, 0.0}, std::pair{-0.012, 0.008}}) {
            SCOPED_TRACE(testing::Message() << "tilt direction " << direction << " film point " << x << ", " << y);
            const tarvelin::LensRay centre = tarvelin::TraceLensSample(s, x, y, 0.0, 0.0);
            // Where the centre ray meets the plane.
            const double t = Dot(Sub(planePoint, centre.origin), normal) / Dot(centre.direction, normal);
            const Vector3d focus = Add(centre.origin, Scale(centre.direction, t));
            for (auto [lx, ly] : {std::pair{1.0, 0.0}, std::pair{-0.6, 0.8}, std::pair{0.3, -0.2}}) {
                const tarvelin::LensRay ray = tarvelin::TraceLensSample(s, x, y, lx, ly);
                EXPECT_NEAR(Length(ray.direction), 1.0, 1e-15);
                EXPECT_NEAR(DistanceFromRay(focus, ray.origin, ray.direction), 0.0, 1e-12)
                    << "lens point " << lx << ", " << ly;
                EXPECT_NEAR(Dot(Sub(ray.origin, camera.position), {0, 0, 1}), 0.0, 1e-18) << "the lens plane is flat";
            }
        }
        // Film points toward (sin δ, cos δ) focus farther away, the opposite ones nearer.
        const auto depthOf = [&](double sign) {
            const tarvelin::LensRay ray = tarvelin::TraceLensSample(
                s, sign * 0.005 * tilted.x - 0.015, sign * 0.005 * tilted.y - 0.005, 0.0, 0.0);
            const double t = Dot(Sub(planePoint, ray.origin), normal) / Dot(ray.direction, normal);
            return Add(ray.origin, Scale(ray.direction, t)).z - camera.position.z;
        };
        EXPECT_GT(depthOf(+1), 2.0) << "tilt direction " << direction;
        EXPECT_LT(depthOf(-1), 2.0) << "tilt direction " << direction;
    }
}

TEST(LensRay, WorksForAnyCameraOrientation) {
    // A camera turned about Y by 90 degrees and moved: the same picture in world space.
    const CameraPlacement turned{{1, 2, 3}, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}};
    const LensSample s = tarvelin::MakeLensSample(kWorkedLens, turned);
    const tarvelin::LensRay ray = tarvelin::TraceLensSample(s, 0.01, 0.0, 0.5, 0.5);
    // Film point (0.01, 0) focuses 2.5 right, 0.5 up and 2 forward of the camera.
    const Vector3d focus{1 + 2, 2 + 0.5, 3 - 2.5};
    EXPECT_NEAR(DistanceFromRay(focus, ray.origin, ray.direction), 0.0, 1e-12);
    ExpectNear(ray.origin, {1, 2 + 0.00125, 3 - 0.00125}, 1e-15, "origin on the lens disc");
}

}  // namespace
