#pragma once
// The scene's edges as world-space line segments, for the interactive view.

#include <vector>

#include "workbench/Scene.h"

namespace workbench::render {

struct Segment {
    Vector3 from;
    Vector3 to;
    Colour colour;
};

// Lines of the ground's checker grid around `centre` (its x and z; the grid
// keeps to the checker squares' corners), the twelve edges of each box and
// three great circles of each sphere.
std::vector<Segment> SceneEdges(const World& world, const Vector3& centre);

// How many squares of the ground grid reach out from the centre each way.
inline constexpr int kGroundGridReach = 40;
// Segments per sphere circle.
inline constexpr int kCircleSegments = 48;

}  // namespace workbench::render
