#pragma once
// The states the host hands to a camera instance when it loads or saves a
// scene. The module uses only the stream context and the float function.

#include "host/Layout.h"

namespace host {

// Reads or writes `count` single-precision floats; answers how many it moved.
using FloatStreamFunction = int (*)(void* context, float* buffer, int count);

struct LoadState {
    UnusedSlot reserved0;
    void* context;  // passed back to readFloats
    UnusedSlot reserved2[7];
    FloatStreamFunction readFloats;
};

struct SaveState {
    UnusedSlot reserved0;
    void* context;  // passed back to writeFloats
    UnusedSlot reserved2[7];
    FloatStreamFunction writeFloats;
};

HOST_CHECK_SLOT(LoadState, context, 1, 4);
HOST_CHECK_SLOT(LoadState, readFloats, 9, 36);
HOST_CHECK_SLOT(SaveState, context, 1, 4);
HOST_CHECK_SLOT(SaveState, writeFloats, 9, 36);

}  // namespace host
