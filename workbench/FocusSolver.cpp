#include "workbench/FocusSolver.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include <fmt/format.h>

#include "workbench/VectorMath.h"

namespace workbench {

namespace {

// Relative sizes below this count as zero: the points are then too nearly
// one point, or one line, or the plane too nearly holds the view direction,
// for the answer to mean anything.
constexpr double kDegenerate = 1e-9;

constexpr double kPi = std::numbers::pi;

// `angle` moved by whole turns to within half a turn of `near`.
double Nearest(double angle, double near) { return near + std::remainder(angle - near, 2.0 * kPi); }

// The unit normal of the plane through the points, facing away from the camera.
Vector3 PlaneNormal(const CameraPose& camera, const std::array<Vector3, 3>& points, const Vector3& forward) {
    double scale = 0.0;
    for (const Vector3& point : points) scale = std::max(scale, Length(Minus(point, camera.position)));
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            if (Length(Minus(points[j], points[i])) <= kDegenerate * scale) {
                throw FocusError(fmt::format("points {} and {} coincide, so the three points fix no plane", i + 1,
                                             j + 1));
            }
        }
    }
    const Vector3 toSecond = Minus(points[1], points[0]);
    const Vector3 toThird = Minus(points[2], points[0]);
    const Vector3 normal = Cross(toSecond, toThird);
    // |normal| is the sine of the angle at the first point times both sides.
    if (Length(normal) <= kDegenerate * Length(toSecond) * Length(toThird)) {
        throw FocusError("the three points lie on one line, so they fix no plane");
    }
    const Vector3 unit = Unit(normal);
    const double facing = Dot(unit, forward);
    if (std::abs(facing) <= kDegenerate) {
        throw FocusError(
            "the plane through the points holds the camera's view direction; no tilt short of 90 degrees reaches it");
    }
    return facing > 0.0 ? unit : Scaled(unit, -1.0);
}

}  // namespace

FocusSettings SolveFocus(const CameraPose& camera, const std::array<Vector3, 3>& points, double currentDirection) {
    for (const Vector3& point : points) {
        for (double coordinate : point) {
            if (!std::isfinite(coordinate)) throw FocusError("a point has a coordinate that is not a finite number");
        }
    }
    const Vector3 right = Unit(camera.axes.right);
    const Vector3 up = Unit(camera.axes.up);
    const Vector3 forward = Unit(camera.axes.forward);
    const Vector3 normal = PlaneNormal(camera, points, forward);

    FocusSettings settings;
    const double facing = Dot(normal, forward);
    settings.focusDistance = Dot(normal, Minus(points[0], camera.position)) / facing;
    if (!(settings.focusDistance > 0.0)) {
        throw FocusError(fmt::format(
            "the plane through the points meets the camera's view axis {} (focus distance {:g} m)",
            settings.focusDistance == 0.0 ? "at the camera" : "behind the camera", settings.focusDistance));
    }

    // forward x n has the length sin a and points along the tilt axis. A tilt
    // this small leaves the direction to chance, so the plane counts as square
    // on and the direction set already stays.
    const Vector3 axis = Cross(forward, normal);
    const double sine = Length(axis);
    if (sine <= kDegenerate) {
        settings.tiltDirection = currentDirection;
        return settings;
    }
    const double angle = std::atan2(sine, facing);
    // The tilt axis is (cos d, -sin d) in the camera's right and up axes.
    const double direction = std::atan2(-Dot(axis, up), Dot(axis, right));
    const double flipped = direction + kPi;
    const bool keepSign = std::abs(std::remainder(direction - currentDirection, 2.0 * kPi)) <=
                          std::abs(std::remainder(flipped - currentDirection, 2.0 * kPi));
    settings.tiltAngle = keepSign ? angle : -angle;
    double chosen = Nearest(keepSign ? direction : flipped, currentDirection);
    if (chosen > 2.0 * kPi) chosen -= 2.0 * kPi;
    if (chosen < -2.0 * kPi) chosen += 2.0 * kPi;
    settings.tiltDirection = chosen;
    return settings;
}

}  // namespace workbench
