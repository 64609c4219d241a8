#include "instance/InstanceOperations.h"
#include "module/HostServices.h"

namespace tarvelin {

void EvaluateSettings(TiltShiftInstance* instance, double time) {
    const host::ParameterService* parameters = HostServices.parameterService;
    if (parameters == nullptr) return;  // nothing to ask: the working copies stand
    for (const Setting& setting : kSettings) {
        host::ParameterHandle parameter = instance->*setting.parameter;
        if (parameter == nullptr) continue;  // no animation: the working copy stands
        double result[3] = {instance->*setting.value, 0.0, 0.0};
        parameters->value(parameter, time, nullptr, result);
        instance->*setting.value = result[0];
    }
}

}  // namespace tarvelin
