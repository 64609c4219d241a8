#pragma once
// The "CameraInterface" server: the camera's settings panel.

#include "host/CameraRecords.h"

namespace tarvelin {

// Checks the interface version (4), looks up "Instance Update" and the panel
// service, and builds one panel for the instance in the interface record.
// 0 done (also when the host made no panel), 1 wrong version, 2 no panel service.
int ActivateCameraInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, void* serverData);

}  // namespace tarvelin
