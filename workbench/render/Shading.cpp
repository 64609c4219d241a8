#include "workbench/render/Shading.h"

#include <algorithm>
#include <cmath>

#include "workbench/VectorMath.h"

namespace workbench::render {

Colour Shade(const RayScene& scene, const World& world, const Vector3& origin, const Vector3& direction) {
    const auto hit = scene.intersect(origin, direction);
    if (!hit) return world.background;

    // Towards the light: against the way it travels.
    const Vector3& travel = world.light.direction;
    const double length = Length(travel);
    double direct = 0.0;
    if (length > 0.0) {
        const Vector3 toLight{-travel[0] / length, -travel[1] / length, -travel[2] / length};
        const double facing = Dot(hit->normal, toLight);
        if (facing > 0.0) {
            // Start the shadow ray off the surface, by a step that grows with
            // the distance from the origin as float precision does.
            const double scale = std::max({1.0, std::abs(hit->point[0]), std::abs(hit->point[1]),
                                           std::abs(hit->point[2])});
            const double offset = 1e-4 * scale;
            const Vector3 start{hit->point[0] + offset * hit->normal[0], hit->point[1] + offset * hit->normal[1],
                                hit->point[2] + offset * hit->normal[2]};
            if (!scene.occluded(start, toLight)) direct = facing;
        }
    }
    const double ambient = std::clamp(world.light.ambient, 0.0, 1.0);
    const double light = ambient + (1.0 - ambient) * direct;
    return {hit->albedo[0] * light, hit->albedo[1] * light, hit->albedo[2] * light};
}

}  // namespace workbench::render
