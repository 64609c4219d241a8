#include "lens/LensState.h"

#include <limits>

#include "instance/InstanceOperations.h"
#include "module/HostServices.h"

namespace tarvelin {

LensState ReadLensState(TiltShiftInstance* instance, const host::CameraAccess* camera, double time) {
    EvaluateSettings(instance, time);

    double focusDistance = kPinholeFocusDistance;
    double fStop = std::numeric_limits<double>::infinity();  // a lens radius of zero
    if (const host::CameraInfoService* cameraInfo = HostServices.cameraInfo) {
        focusDistance = cameraInfo->focusDistance(camera->cameraItem, time);
        fStop = cameraInfo->fStop(camera->cameraItem, time);
    }

    instance->filmWidth = camera->filmWidth;
    instance->filmHeight = camera->filmHeight;
    return LensState{instance->zoomFactor, instance->hShift,    instance->vShift,
                     instance->tiltDirection, instance->tiltAngle, instance->filmWidth,
                     instance->filmHeight, focusDistance,       fStop};
}

namespace {

Vector3d ItemVector(host::ItemId item, host::ItemVectorCode code, double time) {
    double out[3] = {0.0, 0.0, 0.0};
    HostServices.itemInfo->itemVector(item, code, time, out);
    return {out[0], out[1], out[2]};
}

}  // namespace

CameraPlacement ReadCameraPlacement(host::ItemId cameraItem, double time) {
    CameraPlacement placement;
    placement.position = ItemVector(cameraItem, host::kItemWorldPosition, time);
    placement.right = ItemVector(cameraItem, host::kItemRightAxis, time);
    placement.up = ItemVector(cameraItem, host::kItemUpAxis, time);
    placement.forward = ItemVector(cameraItem, host::kItemForwardAxis, time);
    return placement;
}

}  // namespace tarvelin
