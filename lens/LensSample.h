#pragma once
// One precomputed lens state: everything a ray needs at one moment of the
// shutter interval, so that evaluating a ray makes no host call and no
// trigonometry. All lengths are in the unit of the film size (metres).

#include <cmath>

#include "lens/LensState.h"
#include "lens/Matrix.h"

namespace tarvelin {

struct LensSample {
    double shiftX;         // horizontal shift across the film
    double shiftY;         // vertical shift across the film
    Vector3d focusRight;   // the plane of sharp focus's right direction, length D / f
    Vector3d focusUp;      // its up direction, length D / f
    Vector3d focusAxis;    // the point of sharp focus on the optical axis, from the camera position
    Vector3d lensRight;    // the lens disc's right semi-axis (length: the lens radius)
    Vector3d lensUp;       // the lens disc's up semi-axis
    Vector3d forwardAxis;  // as the host gave it
    Vector3d position;     // as the host gave it
};
static_assert(sizeof(LensSample) == 23 * sizeof(double), "a lens sample is 23 doubles");

// Makes the sample from the lens and the camera's placement at one time.
LensSample MakeLensSample(const LensState& lens, const CameraPlacement& camera);

// The ray of one film point through one lens point (in units of the lens
// radius). `direction` has unit length. Inline, because the renderer's loop
// calls it for every film sample.
struct LensRay {
    Vector3d origin;
    Vector3d direction;
};

inline LensRay TraceLensSample(const LensSample& s, double filmX, double filmY, double lensX, double lensY) {
    const Vector3d a{s.lensRight.x * lensX, s.lensRight.y * lensX, s.lensRight.z * lensX};
    const Vector3d b{s.lensUp.x * lensY, s.lensUp.y * lensY, s.lensUp.z * lensY};
    // The film point's point on the plane of sharp focus, from the camera position.
    const double u = filmX + s.shiftX;
    const double w = filmY + s.shiftY;
    const Vector3d focus{
        (u * s.focusRight.x + w * s.focusUp.x) + s.focusAxis.x,
        (u * s.focusRight.y + w * s.focusUp.y) + s.focusAxis.y,
        (u * s.focusRight.z + w * s.focusUp.z) + s.focusAxis.z,
    };
    const Vector3d v{(focus.x - a.x) - b.x, (focus.y - a.y) - b.y, (focus.z - a.z) - b.z};
    const double length = std::sqrt((v.x * v.x + v.y * v.y) + v.z * v.z);
    return LensRay{
        {(s.position.x + a.x) + b.x, (s.position.y + a.y) + b.y, (s.position.z + a.z) + b.z},
        {v.x / length, v.y / length, v.z / length},
    };
}

}  // namespace tarvelin
