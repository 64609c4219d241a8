#pragma once
// The camera handler's lens operations, installed in the host's handler
// record by the camera handler's activation.

#include "host/CameraRecords.h"

namespace tarvelin {

// Once per frame: samples the shutter interval at 4 × motion steps + 1 times
// into the module's lens table. Answers null, or "Can't allocate Memory" when
// the table cannot be had (there is then no table and no ray).
const char* SetupFrame(void* instance, const host::FrameSetup* frame, const host::CameraAccess* camera);

// Per film sample, from any render thread: 1 when the ray was written, 0 when
// there is no table (the ray is left as it was). Makes no host call.
int EvaluateRay(void* instance, double filmX, double filmY, double lensX, double lensY, double fraction,
                host::CameraRay* ray);

// The interactive view's projection for one lens point; always 1.
int PreviewProjection(void* instance, double lensX, double lensY, double out[4][4],
                      const host::CameraAccess* camera);

}  // namespace tarvelin
