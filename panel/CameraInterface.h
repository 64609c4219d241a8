#pragma once
// The "CameraInterface" server: the camera's settings panel.

#include "host/CameraRecords.h"

namespace tarvelin {

int ActivateCameraInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, void* serverData);

}  // namespace tarvelin
