// A camera's scene data: the five parameter blocks in the settings order,
// written and read by the host's parameter service, then the five working
// copies as single-precision floats in one call.

#include <algorithm>

#include "instance/InstanceOperations.h"
#include "module/ErrorTexts.h"
#include "module/HostServices.h"

namespace tarvelin {

const char* LoadInstance(void* instanceData, const host::LoadState* state) {
    auto* instance = static_cast<TiltShiftInstance*>(instanceData);
    if (!CreateMissingParameters(instance)) return kInstanceAllocationError;

    const host::ParameterService* parameters = HostServices.parameterService;
    for (const Setting& setting : kSettings) {
        if (const char* error = parameters->load(instance->*setting.parameter, state)) return error;
    }

    float stored[kSettingCount] = {};
    const int delivered = std::clamp(state->readFloats(state->context, stored, kSettingCount), 0, kSettingCount);
    // A short read leaves the settings it did not deliver as they were.
    for (int i = 0; i < delivered; ++i) instance->*kSettings[i].value = stored[i];
    return nullptr;
}

const char* SaveInstance(void* instanceData, const host::SaveState* state) {
    auto* instance = static_cast<TiltShiftInstance*>(instanceData);
    if (!CreateMissingParameters(instance)) return kInstanceAllocationError;

    const host::ParameterService* parameters = HostServices.parameterService;
    for (const Setting& setting : kSettings) {
        if (const char* error = parameters->save(instance->*setting.parameter, state)) return error;
    }

    float stored[kSettingCount];
    for (int i = 0; i < kSettingCount; ++i) stored[i] = static_cast<float>(instance->*kSettings[i].value);
    state->writeFloats(state->context, stored, kSettingCount);
    return nullptr;
}

}  // namespace tarvelin
