#pragma once
// The lens at one moment: the camera instance's five settings together with
// what the host reports of the camera. Both the per-frame set-up and the
// preview start from it.

#include "host/CameraRecords.h"
#include "instance/TiltShiftInstance.h"
#include "lens/Matrix.h"

namespace tarvelin {

struct LensState {
    double zoomFactor;
    double hShift;         // fraction of the film width
    double vShift;         // fraction of the film height
    double tiltDirection;  // radians
    double tiltAngle;      // radians
    double filmWidth;      // metres
    double filmHeight;     // metres
    double focusDistance;  // metres
    double fStop;
};

// The camera's world position and axes, as the host reports them.
struct CameraPlacement {
    Vector3d position;
    Vector3d right;
    Vector3d up;
    Vector3d forward;
};

// Without a camera service there is no focus distance or f-stop to ask for:
// the lens is then a pinhole (no depth of field) focused at one metre.
inline constexpr double kPinholeFocusDistance = 1.0;

// Brings the instance's settings and film size up to `time` and asks the host
// for the camera's focus distance, then its f-stop.
LensState ReadLensState(TiltShiftInstance* instance, const host::CameraAccess* camera, double time);

// The camera's position, then its right, up and forward axes at `time`.
CameraPlacement ReadCameraPlacement(host::ItemId cameraItem, double time);

}  // namespace tarvelin
