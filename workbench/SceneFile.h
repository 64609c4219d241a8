#pragma once
// Scene files: JSON text that a person can read and write. Errors name the
// source and the place: line and column for malformed JSON, the JSON path
// (for instance /camera/position/0/keys/1/time) for a value that does not fit.
//
//   {
//     "film": {"width": 0.036, "height": 0.024},            metres
//     "resolution": {"width": 640, "height": 480},
//     "frames": {"first": 0, "last": 23, "perSecond": 24},
//     "shutter": {"offset": 0, "duration": 0.5},            frames
//     "motionSteps": 1,
//     "camera": {
//       "name": "Camera",
//       "position": [0, 1.5, {"keys": [{"time": 0, "value": -5}, {"time": 1, "value": -3}]}],
//       "rotation": {"heading": 0, "pitch": 0.1, "bank": 0},  radians
//       "zoomFactor": 3.2, "focusDistance": 5, "fStop": 2.8
//     },
//     "settings": {"ZoomFactor": 3.2, "HShift": 0, "VShift": 0.1, "TiltDirection": 0, "TiltAngle": 0.05},
//     "moduleData": [1170219008, ...],                       optional; floats by bit pattern
//     "world": {
//       "background": [0.5, 0.6, 0.7],
//       "light": {"direction": [-0.5, -1, 0.5], "ambient": 0.2},
//       "ground": {"height": 0, "checkerSize": 1, "colours": [[0.8, 0.8, 0.8], [0.2, 0.2, 0.2]]},
//       "boxes": [{"centre": [0, 0.5, 0], "size": [1, 1, 1], "colour": [0.8, 0.2, 0.2]}],
//       "spheres": [{"centre": [2, 0.5, 1], "radius": 0.5, "colour": [0.2, 0.4, 0.8]}]
//     }
//   }
//
// Every field may be left out and then has its default (Scene.h). A channel
// is a number (a constant) or {"value": constant, "keys": [...]}, each key
// {"time": seconds, "value": v, "interpolation": "linear" | "spline" | "stepped"}
// (spline when left out), in strictly increasing time. Unknown fields are
// errors, so a misspelt name is not silently ignored.

#include <filesystem>
#include <string>
#include <string_view>

#include "workbench/Scene.h"

namespace workbench {

// Throws SceneError naming `sourceName` and the place.
Scene ParseScene(std::string_view text, const std::string& sourceName);
// Throws SceneError when a number cannot be written (not finite).
std::string FormatScene(const Scene& scene);

Scene LoadSceneFile(const std::filesystem::path& file);
// Writes a temporary file beside `file` and renames it over `file`, so a
// failed save leaves the previous file as it was.
void SaveSceneFile(const Scene& scene, const std::filesystem::path& file);

}  // namespace workbench
