#pragma once
// Focusing a tilted lens on three points: the tilt direction, tilt angle and
// focus distance whose plane of sharp focus passes through all three.
//
// The camera's plane of sharp focus passes through the point at the focus
// distance along its forward axis, and is the plane square to that axis
// turned through the tilt angle about the tilt axis, which is
// (cos direction, -sin direction, 0) in the camera's right, up and forward
// axes. So with n the plane's unit normal facing away from the camera
// (n . forward > 0): the tilt angle is the angle between forward and n, the
// tilt axis points along forward x n, and the focus distance is
// n . (point - position) / (n . forward).

#include <array>

#include "workbench/Errors.h"
#include "workbench/Rotation.h"

namespace workbench {

// A camera at one moment: where it is and how it is turned.
struct CameraPose {
    Vector3 position;
    Axes axes;
};

struct FocusSettings {
    double tiltDirection = 0.0;  // radians
    double tiltAngle = 0.0;      // radians, always within (-pi/2, pi/2)
    double focusDistance = 0.0;  // metres along the forward axis, above 0
};

// No plane of sharp focus can pass through the points; the message says why.
class FocusError : public WorkbenchError {
public:
    using WorkbenchError::WorkbenchError;
};

// The settings whose plane of sharp focus passes through `points`. A plane is
// reached by two equal settings, the direction d with the angle a and d + pi
// with -a; the one whose direction lies nearer `currentDirection` is chosen,
// taken to within half a turn of it and kept within one turn of zero, and a
// plane square to the forward axis keeps `currentDirection` itself. Throws
// FocusError when the points coincide or lie on one line, when the plane
// holds the forward axis's direction, or when it meets the forward axis
// behind or at the camera.
FocusSettings SolveFocus(const CameraPose& camera, const std::array<Vector3, 3>& points, double currentDirection);

}  // namespace workbench
