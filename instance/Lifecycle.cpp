#include <cstring>

#include "instance/InstanceOperations.h"
#include "module/ErrorTexts.h"
#include "module/HostServices.h"
#include "module/Memory.h"

namespace tarvelin {

void* CreateInstance(void* /*privateData*/, host::ItemId cameraItem, const char** error) {
    auto* instance = static_cast<TiltShiftInstance*>(AllocateZeroed(1, sizeof(TiltShiftInstance)));
    if (instance == nullptr) {
        if (error != nullptr) *error = kInstanceAllocationError;
        return nullptr;
    }
    instance->cameraItem = cameraItem;

    const double now = CurrentTime();
    const auto* camera = static_cast<const host::CameraInfoService*>(LookupService(host::kCameraInfoName));
    instance->zoomFactor = camera != nullptr ? camera->zoomFactor(cameraItem, now) : kFallbackZoomFactor;
    instance->hShift = 0.0;
    instance->vShift = 0.0;
    instance->tiltDirection = 0.0;
    instance->tiltAngle = 0.0;

    if (const host::ItemInfoService* itemInfo = HostServices.itemInfo) {
        instance->channelGroup = itemInfo->channelGroup(cameraItem);
    }
    // A parameter the host cannot make stays null; the camera still works
    // from its working copy.
    CreateMissingParameters(instance);
    return instance;
}

host::ParameterHandle CreateSettingParameter(int typeCode, const char* channelName, host::ChannelGroupId group,
                                             const double* initialValue) {
    const host::ParameterService* parameters = HostServices.parameterService;
    if (parameters == nullptr) return nullptr;
    host::ParameterHandle parameter = parameters->create(typeCode, host::kNoTexture);
    if (parameter == nullptr) return nullptr;
    parameters->setupChannel(parameter, channelName, group, nullptr, nullptr, nullptr, nullptr);
    parameters->setValue(parameter, initialValue);
    return parameter;
}

bool CreateMissingParameters(TiltShiftInstance* instance) {
    if (HostServices.parameterService == nullptr) return false;
    bool complete = true;
    for (const Setting& setting : kSettings) {
        host::ParameterHandle& parameter = instance->*setting.parameter;
        if (parameter == nullptr) {
            parameter = CreateSettingParameter(setting.typeCode, setting.channelName, instance->channelGroup,
                                               &(instance->*setting.value));
        }
        complete = complete && parameter != nullptr;
    }
    return complete;
}

void DestroyInstance(void* instanceData) {
    auto* instance = static_cast<TiltShiftInstance*>(instanceData);
    if (instance == nullptr) return;
    // A later activation that found no parameter service leaves nothing to
    // release the parameters with; the host then owns them.
    if (const host::ParameterService* parameters = HostServices.parameterService) {
        for (const Setting& setting : kSettings) {
            if (host::ParameterHandle parameter = instance->*setting.parameter) parameters->destroy(parameter);
        }
    }
    Release(instance);
}

const char* CopyInstance(void* destinationData, void* sourceData) {
    auto* destination = static_cast<TiltShiftInstance*>(destinationData);
    const auto* source = static_cast<const TiltShiftInstance*>(sourceData);
    if (destination == source) return nullptr;
    // The destination keeps its own parameters, camera item and channel
    // group: each instance owns the parameters it made.
    for (const Setting& setting : kSettings) destination->*setting.value = source->*setting.value;
    destination->filmWidth = source->filmWidth;
    destination->filmHeight = source->filmHeight;
    std::memcpy(destination->infoText, source->infoText, sizeof destination->infoText);
    return nullptr;
}

const char* DescribeInstance(void* /*instance*/) { return "OrrenCamera"; }

}  // namespace tarvelin
