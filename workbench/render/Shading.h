#pragma once
// The colour a camera ray brings back: plain Lambert shading under the
// scene's one directional light, with a shadow ray and an ambient share, and
// the background where the ray meets nothing.

#include "workbench/Scene.h"
#include "workbench/render/RayScene.h"

namespace workbench::render {

Colour Shade(const RayScene& scene, const World& world, const Vector3& origin, const Vector3& direction);

}  // namespace workbench::render
