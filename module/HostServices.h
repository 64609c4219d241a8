#pragma once
// The host services the module has looked up, kept for as long as the module
// is loaded. Only the activations write them; every other operation reads.

#include "host/PanelService.h"
#include "host/Services.h"

namespace tarvelin {

struct HostServiceTable {
    host::GlobalLookup globalLookup;
    const host::ParameterService* parameterService;
    const host::ItemInfoService* itemInfo;
    const void* envelopeService;  // only its presence is required
    const host::TimeInfo* timeInfo;  // only its presence is required
    const host::CameraInfoService* cameraInfo;  // may be missing
    host::InstanceUpdateFunction instanceUpdate;  // may be missing
    const host::PanelService* panelService;  // set by the panel's activation
};

extern HostServiceTable HostServices;

// π, computed by the camera handler's activation.
extern double pi;

// Looks a service up afresh through the stored lookup function; null when the
// host has none (or before any activation).
const void* LookupService(const char* name);

// The host's current time in seconds, looked up afresh; 0 when the host
// offers no time service.
double CurrentTime();

}  // namespace tarvelin
