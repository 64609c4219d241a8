#pragma once
// Ids of the settings panel's controls and groups. The host knows a control
// only by its id; the three panel tables and the value exchange use these.

#include "host/PanelService.h"

namespace tarvelin {

// Controls, in the order of their rows in the panel tables.
inline constexpr host::PanelId CTL_ZOOM = 0x8001;
inline constexpr host::PanelId CTL_INFO = 0x8002;  // the focal-length line
inline constexpr host::PanelId CTL_HSHIFT = 0x8003;
inline constexpr host::PanelId CTL_VSHIFT = 0x8004;
inline constexpr host::PanelId CTL_TILT_DIRECTION = 0x8005;
inline constexpr host::PanelId CTL_TILT_ANGLE = 0x8006;
inline constexpr host::PanelId CTL_DIAGRAM = 0x8007;  // the tilt diagram

// Groups; they name no control.
inline constexpr host::PanelId GRP_ZOOM = 0x8008;
inline constexpr host::PanelId GRP_SHIFT = 0x8009;
inline constexpr host::PanelId GRP_TILT = 0x800A;
inline constexpr host::PanelId GRP_DIAGRAM = 0x800B;

// The id under which the panel itself is addressed (its title, its data).
inline constexpr host::PanelId kWholePanel = 0;

}  // namespace tarvelin
