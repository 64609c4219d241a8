#pragma once
// The panel's tilt diagram: a marker in a disc, its bearing the tilt direction
// and its distance from the centre growing with the tilt angle.

#include "host/PanelService.h"

namespace tarvelin {

// The drawing callback of the diagram control, called by the host whenever
// the control must be drawn. Draws the instance attached to `panel` into
// `area`; the control id and any further arguments are not read.
void DrawTiltDiagram(host::PanelHandle panel, host::PanelId control, host::DrawingArea area);

}  // namespace tarvelin
