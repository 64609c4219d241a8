// The matrix and vector helpers that the lens model and the tilt diagram use.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "lens/Matrix.h"
#include "tests/support/VectorMath.h"

namespace {

using tarvelin::Matrix4d;
using tarvelin::Vector3d;
using std::numbers::pi;

constexpr Matrix4d kIdentity{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

Matrix4d Translation(double x, double y, double z) {
    Matrix4d m = kIdentity;
    m(3, 0) = x;
    m(3, 1) = y;
    m(3, 2) = z;
    return m;
}

Matrix4d RotationZ(double angle) {
    Matrix4d m;
    tarvelin::RotationZ(m, angle);
    return m;
}

Matrix4d RotationAboutAxis(Vector3d axis, double angle) {
    Matrix4d m;
    tarvelin::RotationAboutAxis(m, axis, angle);
    return m;
}

Matrix4d Product(const Matrix4d& a, const Matrix4d& b) {
    Matrix4d out;
    tarvelin::MultiplyMatrix4d(a, b, out);
    return out;
}

void ExpectNear(const Matrix4d& actual, const Matrix4d& expected, double tolerance) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual.element[i], expected.element[i], tolerance) << "element (" << i / 4 << "," << i % 4 << ")";
    }
}

void ExpectNear(const Vector3d& actual, const Vector3d& expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << actual << " vs " << expected;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << actual << " vs " << expected;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << actual << " vs " << expected;
}

TEST(Rotation, ZeroAngleIsTheIdentityForEveryAxis) {
    ExpectNear(RotationZ(0.0), kIdentity, 0.0);
    for (Vector3d axis : {Vector3d{1, 0, 0}, Vector3d{0, 3, 0}, Vector3d{0.3, -2, 5}}) {
        const Matrix4d m = RotationAboutAxis(axis, 0.0);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(m.element[i], kIdentity.element[i]) << "element " << i << " axis " << axis;
    }
}

TEST(Rotation, QuarterTurnAboutZTurnsXTowardY) {
    const Matrix4d m = RotationZ(pi / 2);
    const Vector3d x = tarvelin::TransformPoint({1, 0, 0}, m);
    EXPECT_EQ(x.x, std::cos(pi / 2));
    EXPECT_EQ(x.y, 1.0);
    EXPECT_EQ(x.z, 0.0);
    ExpectNear(tarvelin::TransformPoint({0, 1, 0}, m), {-1, 0, 0}, 1e-15);
}

TEST(Rotation, AboutTheZAxisMatchesRotationZApartFromTheLastDiagonalRounding) {
    for (double angle : {0.3, -1.2, 2.5, pi}) {
        for (Vector3d axis : {Vector3d{0, 0, 1}, Vector3d{0, 0, 2}}) {
            const Matrix4d about = RotationAboutAxis(axis, angle);
            const Matrix4d z = RotationZ(angle);
            for (int i = 0; i < 16; ++i) {
                if (i == 10) continue;
                EXPECT_EQ(about.element[i], z.element[i]) << "element " << i << " angle " << angle << " axis " << axis;
            }
            EXPECT_NEAR(about(2, 2), 1.0, 1e-15) << "angle " << angle;
        }
    }
}

TEST(Rotation, FollowsTheRightHandRule) {
    ExpectNear(tarvelin::TransformPoint({0, 1, 0}, RotationAboutAxis({1, 0, 0}, pi / 2)), {0, 0, 1}, 1e-15);
    ExpectNear(tarvelin::TransformPoint({0, 0, 1}, RotationAboutAxis({0, 5, 0}, pi / 2)), {1, 0, 0}, 1e-15);
    // A turn about the diagonal cycles the axes.
    ExpectNear(tarvelin::TransformPoint({1, 0, 0}, RotationAboutAxis({1, 1, 1}, 2 * pi / 3)), {0, 1, 0}, 1e-15);
}

TEST(Rotation, KeepsLengthsAndTheAxisItself) {
    const Vector3d axis{0.3, -2, 5};
    const Matrix4d m = RotationAboutAxis(axis, 0.7);
    ExpectNear(tarvelin::TransformPoint(axis, m), axis, 1e-14);
    const Vector3d p = tarvelin::TransformPoint({1, 2, 3}, m);
    EXPECT_NEAR(p.x * p.x + p.y * p.y + p.z * p.z, 14.0, 1e-13) << p;
}

TEST(Product, IdentityOnEitherSideChangesNothing) {
    const Matrix4d r = RotationAboutAxis({0.3, -2, 5}, 0.7);
    ExpectNear(Product(r, kIdentity), r, 0.0);
    ExpectNear(Product(kIdentity, r), r, 0.0);
}

TEST(Product, AddsRotationAngles) {
    ExpectNear(Product(RotationZ(0.4), RotationZ(1.1)), RotationZ(1.5), 1e-15);
}

TEST(Product, TransformsByTheSecondArgumentFirst) {
    const Matrix4d out = Product(RotationZ(pi / 2), Translation(5, 0, 0));
    ExpectNear(tarvelin::TransformPoint({0, 0, 0}, out), {0, 5, 0}, 1e-15);
}

TEST(TransformPoint, IdentityKeepsThePointAndRowThreeTranslates) {
    const Vector3d p{1.5, -2, 7};
    const Vector3d same = tarvelin::TransformPoint(p, kIdentity);
    EXPECT_EQ(same.x, p.x);
    EXPECT_EQ(same.y, p.y);
    EXPECT_EQ(same.z, p.z);
    const Vector3d moved = tarvelin::TransformPoint(p, Translation(1, 2, 3));
    EXPECT_EQ(moved.x, 2.5);
    EXPECT_EQ(moved.y, 0.0);
    EXPECT_EQ(moved.z, 10.0);
}

}  // namespace
