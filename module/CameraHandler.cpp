#include "module/CameraHandler.h"

#include <cmath>

#include "instance/InstanceOperations.h"
#include "lens/LensOperations.h"
#include "module/HostServices.h"

namespace tarvelin {

namespace {

template <typename Service>
const Service* Lookup(host::GlobalLookup lookup, const char* name) {
    return static_cast<const Service*>(lookup(name, host::kLookupMode));
}

}  // namespace

int ActivateCameraHandler(int version, host::GlobalLookup lookup, void* handlerRecord, void* /*serverData*/) {
    if (version != host::kCameraHandlerVersion) return host::kBadVersion;

    pi = 4.0 * std::atan(1.0);
    HostServices.globalLookup = lookup;
    // Every lookup is made and stored, even after one has come back empty.
    HostServices.parameterService = Lookup<host::ParameterService>(lookup, host::kParameterServiceName);
    HostServices.itemInfo = Lookup<host::ItemInfoService>(lookup, host::kItemInfoName);
    HostServices.envelopeService = Lookup<void>(lookup, host::kEnvelopeServiceName);
    HostServices.timeInfo = Lookup<host::TimeInfo>(lookup, host::kTimeInfoName);
    HostServices.cameraInfo = Lookup<host::CameraInfoService>(lookup, host::kCameraInfoName);

    if (HostServices.parameterService == nullptr || HostServices.itemInfo == nullptr ||
        HostServices.envelopeService == nullptr || HostServices.timeInfo == nullptr) {
        return host::kServiceMissing;
    }

    auto* record = static_cast<host::CameraHandlerRecord*>(handlerRecord);
    host::InstanceOperations* operations = record->instanceOperations;
    operations->privateData = reinterpret_cast<void*>(lookup);
    operations->create = CreateInstance;
    operations->destroy = DestroyInstance;
    operations->copy = CopyInstance;
    operations->load = LoadInstance;
    operations->save = SaveInstance;
    operations->describe = DescribeInstance;

    record->preview = PreviewProjection;
    record->setupFrame = SetupFrame;
    record->evaluateRay = EvaluateRay;
    record->flags = CameraFlags;
    return host::kActivated;
}

unsigned CameraFlags(void* /*instance*/) { return 1u; }

}  // namespace tarvelin
