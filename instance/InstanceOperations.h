#pragma once
// The camera instance's operations, installed in the host's instance
// operations record by the camera handler's activation.

#include "host/CameraRecords.h"
#include "instance/TiltShiftInstance.h"

namespace tarvelin {

// The zoom factor of a new camera when the host has no camera service.
inline constexpr double kFallbackZoomFactor = 2.6217;

void* CreateInstance(void* privateData, host::ItemId cameraItem, const char** error);
void DestroyInstance(void* instance);
const char* CopyInstance(void* destination, void* source);
const char* LoadInstance(void* instance, const host::LoadState* state);
const char* SaveInstance(void* instance, const host::SaveState* state);
const char* DescribeInstance(void* instance);

// One setting's parameter value at `time`; its working copy when there is no
// parameter or no parameter service to ask.
double SettingValueAt(const TiltShiftInstance& instance, const Setting& setting, double time);

// Overwrites the working copies with the parameters' values at `time`.
void EvaluateSettings(TiltShiftInstance* instance, double time);

// Creates one animated parameter as a channel of `group`, holding `initialValue`.
host::ParameterHandle CreateSettingParameter(int typeCode, const char* channelName, host::ChannelGroupId group,
                                             const double* initialValue);

// Makes again, from the working copies, any parameter the host could not make
// before. False when one is still missing, or when there is no parameter
// service to read or write them with: the scene data is always all five
// parameter blocks, so it cannot be read or written without them.
bool CreateMissingParameters(TiltShiftInstance* instance);

}  // namespace tarvelin
