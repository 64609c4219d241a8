#pragma once
// How the host activates a module's server.

#include "host/Services.h"

namespace host {

// Activation statuses.
inline constexpr int kActivated = 0;
inline constexpr int kBadVersion = 1;
inline constexpr int kServiceMissing = 2;

// Called by the host whenever it needs a server; `local` is the class's own
// record (for instance a CameraHandlerRecord), `serverData` is unused here.
using ActivateFunction = int (*)(int version, GlobalLookup lookup, void* local, void* serverData);

}  // namespace host
