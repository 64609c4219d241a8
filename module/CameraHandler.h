#pragma once
// The "CameraHandler" server: the camera model.

#include "host/CameraRecords.h"

namespace tarvelin {

// Checks the interface version (2), computes π, looks up the host services
// and fills the host's handler records. 0 activated, 1 wrong version,
// 2 a required service is missing.
int ActivateCameraHandler(int version, host::GlobalLookup lookup, void* handlerRecord, void* serverData);

// Answers 1 for every instance.
unsigned CameraFlags(void* instance);

}  // namespace tarvelin
