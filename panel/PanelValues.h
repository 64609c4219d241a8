#pragma once
// Value exchange between the settings panel and the camera instance it shows.
// The host calls both functions from the panel, on its main thread.

#include "host/PanelService.h"

namespace tarvelin {

// The value a control shows: the parameter handle of a setting, through which
// the host edits its animation; the focal-length line, freshly written into
// the instance's `infoText`; null for any other id.
void* GetPanelValue(void* instance, host::PanelId id);

// Stores an edited setting (`value` points to a double) into the instance's
// working copy and tells the host the instance changed. 1 when stored, 0 for
// an id that is not one of the five settings.
int SetPanelValue(void* instance, host::PanelId id, void* value);

}  // namespace tarvelin
