#include "panel/PanelValues.h"

#include <cmath>
#include <cstdio>

#include "host/CameraRecords.h"
#include "instance/InstanceOperations.h"
#include "instance/TiltShiftInstance.h"
#include "module/HostServices.h"
#include "panel/PanelIds.h"

namespace tarvelin {

namespace {

// The setting behind each of the five setting controls: the handle the host
// edits and the working copy an edited value goes into.
struct SettingControl {
    host::PanelId id;
    host::ParameterHandle TiltShiftInstance::*parameter;
    double TiltShiftInstance::*value;
};

constexpr SettingControl kSettingControls[] = {
    {CTL_ZOOM, &TiltShiftInstance::zoomParam, &TiltShiftInstance::zoomFactor},
    {CTL_HSHIFT, &TiltShiftInstance::hShiftParam, &TiltShiftInstance::hShift},
    {CTL_VSHIFT, &TiltShiftInstance::vShiftParam, &TiltShiftInstance::vShift},
    {CTL_TILT_DIRECTION, &TiltShiftInstance::tiltDirectionParam, &TiltShiftInstance::tiltDirection},
    {CTL_TILT_ANGLE, &TiltShiftInstance::tiltAngleParam, &TiltShiftInstance::tiltAngle},
};

const SettingControl* SettingControlOf(host::PanelId id) {
    for (const SettingControl& control : kSettingControls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

// Below this magnitude "%0.1f" gives at most 20 digits, a sign and ".d": the
// whole line stays within the 39 characters of `infoText`.
constexpr double kLargestShownFocalLength = 1e20;  // millimetres

double ZoomFactorNow(const TiltShiftInstance& instance) {
    return SettingValueAt(instance, kSettings[0], CurrentTime());  // the zoom factor comes first
}

char* FocalLengthLine(TiltShiftInstance& instance) {
    const double zoom = ZoomFactorNow(instance);
    const double millimetres = ((instance.filmHeight * zoom) * 0.5) * 1000.0;
    char* text = instance.infoText;
    if (std::isnan(millimetres)) {
        std::snprintf(text, kInfoTextSize, "Focal Length undefined");
    } else if (std::fabs(millimetres) >= kLargestShownFocalLength) {
        std::snprintf(text, kInfoTextSize, "Focal Length out of range");
    } else {
        std::snprintf(text, kInfoTextSize, "Focal Length %0.1fmm", millimetres);
    }
    return text;
}

}  // namespace

void* GetPanelValue(void* instance, host::PanelId id) {
    auto* camera = static_cast<TiltShiftInstance*>(instance);
    if (const SettingControl* control = SettingControlOf(id)) return camera->*control->parameter;
    if (id == CTL_INFO) return FocalLengthLine(*camera);
    return nullptr;
}

int SetPanelValue(void* instance, host::PanelId id, void* value) {
    const SettingControl* control = SettingControlOf(id);
    if (control == nullptr) return 0;
    auto* camera = static_cast<TiltShiftInstance*>(instance);
    camera->*control->value = *static_cast<const double*>(value);
    if (HostServices.instanceUpdate != nullptr) HostServices.instanceUpdate(host::kCameraHandlerClass, instance);
    return 1;
}

}  // namespace tarvelin
