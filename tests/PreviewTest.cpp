// The interactive view's projection matrix.

#include <cmath>
#include <limits>
#include <numbers>

#include "lens/LensOperations.h"
#include "tests/support/ModuleFixture.h"
#include "tests/support/VectorMath.h"

namespace {

using ::testing::ElementsAre;
using testhost::InstanceFixture;
using tarvelin::Matrix4d;
using tarvelin::Vector3d;
using std::numbers::pi;

class Preview : public InstanceFixture {
protected:
    void SetUp() override {
        InstanceFixture::SetUp();
        camera.cameraItem = fakeHost.cameraItem;
        camera.filmWidth = 0.036;
        camera.filmHeight = 0.024;
        SetParameterValues({3.2, 0.0, 0.0, 0.0, 0.0});  // focal length 0.0384
        fakeHost.camera.focusDistance = 2.0;
        fakeHost.camera.fStop = 2.8;
    }

    Matrix4d Projection(double lensX = 0.0, double lensY = 0.0) {
        double out[4][4];
        std::fill(&out[0][0], &out[0][0] + 16, std::numeric_limits<double>::quiet_NaN());
        EXPECT_EQ(handler.preview(instance, lensX, lensY, out, &camera), 1);
        Matrix4d m;
        std::copy(&out[0][0], &out[0][0] + 16, m.element);
        return m;
    }

    // Where the matrix puts a camera-space point, after the divide.
    static std::pair<double, double> Project(const Matrix4d& m, Vector3d p) {
        const double x = ((p.x * m(0, 0) + p.y * m(1, 0)) + p.z * m(2, 0)) + m(3, 0);
        const double y = ((p.x * m(0, 1) + p.y * m(1, 1)) + p.z * m(2, 1)) + m(3, 1);
        const double w = ((p.x * m(0, 3) + p.y * m(1, 3)) + p.z * m(2, 3)) + m(3, 3);
        return {x / w, y / w};
    }

    host::CameraAccess camera{};
};

TEST_F(Preview, UntiltedIsAPlainFrustumAtTheFocalLength) {
    const Matrix4d m = Projection();
    const double F = 0.0384;
    for (int i = 0; i < 16; ++i) {
        const int row = i / 4;
        const int column = i % 4;
        SCOPED_TRACE(testing::Message() << "element (" << row << "," << column << ")");
        if (i == 0 || i == 5) {
            EXPECT_NEAR(m.element[i], F, 1e-17);
        } else if (i == 10) {
            EXPECT_NEAR(m.element[i], -1.0000011815, 1e-10);
        } else if (i == 11) {
            EXPECT_EQ(m.element[i], -1.0);
        } else if (i == 14) {
            EXPECT_NEAR(m.element[i], -0.0768000454, 1e-10);
        } else {
            EXPECT_EQ(m.element[i], 0.0);
        }
    }
    // On a film at the focal length.
    auto [x, y] = Project(m, {0.5, -0.25, -2});
    EXPECT_NEAR(x, F * 0.25, 1e-16);
    EXPECT_NEAR(y, -F * 0.125, 1e-16);
}

// Tilting by 10 degrees toward direction 0 turns the view about the x axis:
// the near distance shrinks to F cos θ and the image centre moves by F sin θ.
TEST_F(Preview, TiltTurnsTheViewAndMovesTheFrustumCentre) {
    SetParameterValues({3.2, 0.0, 0.0, 0.0, 10 * pi / 180});
    const Matrix4d m = Projection();

    const double n = 0.0378166;
    const double cy = 0.0066681;
    const double c = std::cos(10 * pi / 180);
    const double s = std::sin(10 * pi / 180);
    const Matrix4d tilt{{1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1}};
    const Matrix4d frustum{{n, 0, 0, 0, 0, n, 0, 0, 0, cy, -((65000 + n) / (65000 - n)), -1, 0, 0,
                            -((n * 130000) / (65000 - n)), 0}};
    Matrix4d expected;
    tarvelin::MultiplyMatrix4d(frustum, tilt, expected);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m.element[i], expected.element[i], 2e-7) << "element " << i;
}

TEST_F(Preview, HorizontalShiftMovesTheImageByThatShareOfTheFilmWidth) {
    const auto [x0, y0] = Project(Projection(), {0.1, 0.2, -5});
    SetParameterValues({3.2, 0.1, 0.0, 0.0, 0.0});
    const Matrix4d m = Projection();
    EXPECT_NEAR(m(2, 0), 0.1 * 0.036, 1e-18);
    const auto [x, y] = Project(m, {0.1, 0.2, -5});
    EXPECT_NEAR(x - x0, -0.1 * 0.036, 1e-17);
    EXPECT_EQ(y, y0);
}

// A lens point moves the eye; points at the focus distance along the tilted
// axis stay where the lens centre puts them, nearer and farther ones move.
TEST_F(Preview, PointsAtTheFocusDistanceStayPutForEveryLensPoint) {
    SetParameterValues({3.2, 0.05, -0.1, 0.7, 0.2});
    const Matrix4d centre = Projection();
    Matrix4d tilt;
    {
        Matrix4d turn;
        tarvelin::RotationZ(turn, -0.7);
        tarvelin::RotationAboutAxis(tilt, tarvelin::TransformPoint({1, 0, 0}, turn), 0.2);
    }
    // Camera-space point whose tilted-frame position is q: p = q·Tᵀ.
    const auto untilt = [&](Vector3d q) {
        return Vector3d{q.x * tilt(0, 0) + q.y * tilt(0, 1) + q.z * tilt(0, 2),
                        q.x * tilt(1, 0) + q.y * tilt(1, 1) + q.z * tilt(1, 2),
                        q.x * tilt(2, 0) + q.y * tilt(2, 1) + q.z * tilt(2, 2)};
    };
    for (auto [lensX, lensY] : {std::pair{0.5, 0.0}, std::pair{-0.3, 0.8}}) {
        const Matrix4d m = Projection(lensX, lensY);
        SCOPED_TRACE(testing::Message() << "lens point " << lensX << ", " << lensY);
        for (Vector3d q : {Vector3d{0, 0, -2}, Vector3d{0.4, -0.3, -2}, Vector3d{-1, 0.5, -2}}) {
            const auto [x0, y0] = Project(centre, untilt(q));
            const auto [x, y] = Project(m, untilt(q));
            EXPECT_NEAR(x, x0, 1e-15) << "q " << q;
            EXPECT_NEAR(y, y0, 1e-15) << "q " << q;
        }
        const auto [nearX0, nearY0] = Project(centre, untilt({0, 0, -1}));
        const auto [nearX, nearY] = Project(m, untilt({0, 0, -1}));
        const auto [farX0, farY0] = Project(centre, untilt({0, 0, -4}));
        const auto [farX, farY] = Project(m, untilt({0, 0, -4}));
        EXPECT_LT((nearX - nearX0) * (farX - farX0) + (nearY - nearY0) * (farY - farY0), 0.0)
            << "nearer and farther points move in opposite directions";
    }
}

// Both lens coordinates scale with the film width, and the offset with the
// aperture radius (F / f-stop) / 2.
TEST_F(Preview, LensPointScalesWithTheFilmWidthAndTheApertureRadius) {
    const Matrix4d m = Projection(0.5, -0.25);
    const double R = (0.0384 / 2.8) * 0.5;
    EXPECT_NEAR(m(3, 0), R * -(0.036 * 0.5), 1e-18);
    EXPECT_NEAR(m(3, 1), R * (0.036 * 0.25), 1e-18);
    EXPECT_NEAR(m(2, 0), R * -(0.036 * 0.5) / 2.0, 1e-18);
    EXPECT_NEAR(m(2, 1), R * (0.036 * 0.25) / 2.0, 1e-18);
}

TEST_F(Preview, TakesTheHostsCurrentTimeAndUpdatesTheInstance) {
    fakeHost.timeInfo.time = 2.5;
    fakeHost.parameter(instance->tiltAngleParam).slope = 0.1;

    const Matrix4d first = Projection();

    EXPECT_THAT(fakeHost.calls, ElementsAre("lookup(LW Time Info,0)", "value(#0,2.5)", "value(#1,2.5)",
                                            "value(#2,2.5)", "value(#3,2.5)", "value(#4,2.5)",
                                            "focusDistance(camera,2.5)", "fStop(camera,2.5)"));
    EXPECT_EQ(instance->tiltAngle, 0.25);
    EXPECT_EQ(instance->filmWidth, 0.036);
    EXPECT_EQ(instance->filmHeight, 0.024);
    const Matrix4d again = Projection();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(again.element[i], first.element[i]) << "element " << i;
}

TEST_F(Preview, WithoutTimeServiceUsesTimeZero) {
    fakeHost.missingServices.insert(host::kTimeInfoName);
    Projection();
    EXPECT_THAT(fakeHost.callsStartingWith("value(#0"), ElementsAre("value(#0,0)"));
}

TEST_F(Preview, WithoutCameraServiceTheLensPointChangesNothing) {
    tarvelin::HostServices.cameraInfo = nullptr;
    SetParameterValues({3.2, 0.05, -0.1, 0.7, 0.2});
    const Matrix4d centre = Projection();
    const Matrix4d offset = Projection(0.5, -0.5);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(offset.element[i])) << "element " << i;
        EXPECT_EQ(offset.element[i], centre.element[i]) << "element " << i;
    }
}

}  // namespace
