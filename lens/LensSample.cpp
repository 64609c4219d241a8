#include "lens/LensSample.h"

#include <cmath>

namespace tarvelin {

namespace {

double Length(const Vector3d& v) { return std::sqrt((v.y * v.y + v.x * v.x) + v.z * v.z); }

Vector3d Scaled(const Vector3d& v, double factor) { return {v.x * factor, v.y * factor, v.z * factor}; }

}  // namespace

LensSample MakeLensSample(const LensState& in, const CameraPlacement& camera) {
    LensSample s;
    s.shiftX = in.hShift * in.filmWidth;
    s.shiftY = in.filmHeight * in.vShift;

    const double focalLength = (in.filmHeight * in.zoomFactor) * 0.5;
    const double lensRadius = 0.5 * (focalLength / in.fStop);
    const double planeScale = in.focusDistance / focalLength;  // units of the focus plane per unit of film

    const double rightLength = Length(camera.right);
    const double upLength = Length(camera.up);
    const double forwardLength = Length(camera.forward);

    s.lensRight = Scaled(camera.right, lensRadius / rightLength);
    s.lensUp = Scaled(camera.up, lensRadius / upLength);

    const double kR = (1.0 / rightLength) * planeScale;
    const double kU = (1.0 / upLength) * planeScale;
    const double kF = (focalLength / forwardLength) * planeScale;

    Vector3d planeRight = camera.right;
    Vector3d planeUp = camera.up;
    if (in.tiltAngle != 0.0) {
        // The tilt axis is the right axis turned about the view axis through
        // minus the tilt direction; the plane's directions turn about it.
        Matrix4d aboutForward;
        RotationAboutAxis(aboutForward, camera.forward, -in.tiltDirection);
        const Vector3d tiltAxis = TransformPoint(camera.right, aboutForward);
        Matrix4d tilt;
        RotationAboutAxis(tilt, tiltAxis, in.tiltAngle);
        planeRight = TransformPoint(camera.right, tilt);
        planeUp = TransformPoint(camera.up, tilt);
    }

    s.focusRight = Scaled(planeRight, kR);
    s.focusUp = Scaled(planeUp, kU);
    s.focusAxis = Scaled(camera.forward, kF);
    s.forwardAxis = camera.forward;
    s.position = camera.position;
    return s;
}

}  // namespace tarvelin
