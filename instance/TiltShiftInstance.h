#pragma once
// The per-camera record and the order in which its five settings are walked.

#include <array>

#include "host/Services.h"

namespace tarvelin {

inline constexpr int kInfoTextSize = 40;

// One per camera item of this type. Each setting exists twice: as an animated
// parameter owned by the instance, and as a working copy in a plain double
// that the lens operations and the panel read.
struct TiltShiftInstance {
    double zoomFactor;
    double hShift;         // fraction of the film width
    double vShift;         // fraction of the film height
    double tiltDirection;  // radians
    double tiltAngle;      // radians
    double filmWidth;      // metres; zero until the preview or a frame set-up copies it
    double filmHeight;     // metres
    host::ParameterHandle zoomParam;  // each handle: owned, or null when the host could not make it
    host::ParameterHandle hShiftParam;
    host::ParameterHandle vShiftParam;
    host::ParameterHandle tiltDirectionParam;
    host::ParameterHandle tiltAngleParam;
    host::ChannelGroupId channelGroup;  // the camera item's; not owned
    host::ItemId cameraItem;            // not owned
    char infoText[kInfoTextSize];       // the panel's focal-length line
};

// One of the five settings: its channel, its working copy and its parameter.
struct Setting {
    const char* channelName;
    int typeCode;
    double TiltShiftInstance::*value;
    host::ParameterHandle TiltShiftInstance::*parameter;
};

inline constexpr int kSettingCount = 5;

// The settings order: parameters are created, saved, loaded and evaluated,
// and the scene's five floats are written, in this order.
inline constexpr std::array<Setting, kSettingCount> kSettings = {{
    {"ZoomFactor", host::kParameterNumber, &TiltShiftInstance::zoomFactor, &TiltShiftInstance::zoomParam},
    {"HShift", host::kParameterPercent, &TiltShiftInstance::hShift, &TiltShiftInstance::hShiftParam},
    {"VShift", host::kParameterPercent, &TiltShiftInstance::vShift, &TiltShiftInstance::vShiftParam},
    {"TiltDirection", host::kParameterAngle, &TiltShiftInstance::tiltDirection,
     &TiltShiftInstance::tiltDirectionParam},
    {"TiltAngle", host::kParameterAngle, &TiltShiftInstance::tiltAngle, &TiltShiftInstance::tiltAngleParam},
}};

}  // namespace tarvelin
