#include "lens/PreviewMatrix.h"

namespace tarvelin {

Matrix4d MakePreviewMatrix(const LensState& lens, double lensX, double lensY) {
    const double W = lens.filmWidth;
    const double H = lens.filmHeight;
    const double d = lens.focusDistance;
    const double F = (H * lens.zoomFactor) * 0.5;
    const double R = (F / lens.fStop) * 0.5;
    const double lx = -(W * lensX);
    const double ly = -(W * lensY);

    Matrix4d turn;
    RotationZ(turn, -lens.tiltDirection);
    const Vector3d tiltAxis = TransformPoint({1.0, 0.0, 0.0}, turn);
    Matrix4d tilt;
    RotationAboutAxis(tilt, tiltAxis, lens.tiltAngle);
    const Vector3d tiltedZ = TransformPoint({0.0, 0.0, 1.0}, tilt);
    const double n = tiltedZ.z * F;

    const double cx = (R * lx) / d + (lens.hShift * W - tiltedZ.x * F);
    const double cy = (R * ly) / d + (lens.vShift * H - tiltedZ.y * F);
    const Matrix4d frustum{{
        n, 0.0, 0.0, 0.0,
        0.0, n, 0.0, 0.0,
        cx, cy, -((kPreviewFar + n) / (kPreviewFar - n)), -1.0,
        R * lx, R * ly, -((n * (2.0 * kPreviewFar)) / (kPreviewFar - n)), 0.0,
    }};

    Matrix4d out;
    MultiplyMatrix4d(frustum, tilt, out);  // tilted first, projected second
    return out;
}

}  // namespace tarvelin
