#include "instance/InstanceOperations.h"
#include "module/HostServices.h"

namespace tarvelin {

double SettingValueAt(const TiltShiftInstance& instance, const Setting& setting, double time) {
    const host::ParameterService* parameters = HostServices.parameterService;
    host::ParameterHandle parameter = instance.*setting.parameter;
    // Nothing to ask (no parameter, or no service): the working copy stands.
    if (parameters == nullptr || parameter == nullptr) return instance.*setting.value;
    double result[5] = {instance.*setting.value, 0.0, 0.0, 0.0, 0.0};
    parameters->value(parameter, time, nullptr, result);
    return result[0];
}

void EvaluateSettings(TiltShiftInstance* instance, double time) {
    for (const Setting& setting : kSettings) instance->*setting.value = SettingValueAt(*instance, setting, time);
}

}  // namespace tarvelin
