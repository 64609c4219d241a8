#include "module/HostServices.h"

namespace tarvelin {

HostServiceTable HostServices = {};
double pi = 0.0;

const void* LookupService(const char* name) {
    if (HostServices.globalLookup == nullptr) return nullptr;
    return HostServices.globalLookup(name, host::kLookupMode);
}

double CurrentTime() {
    const auto* timeInfo = static_cast<const host::TimeInfo*>(LookupService(host::kTimeInfoName));
    return timeInfo != nullptr ? timeInfo->time : 0.0;
}

}  // namespace tarvelin
