#include "workbench/render/Wireframe.h"

#include <cmath>
#include <numbers>

namespace workbench::render {

namespace {

void AddGroundGrid(const Ground& ground, const Vector3& centre, std::vector<Segment>& edges) {
    const double size = ground.checkerSize;
    if (!(size > 0.0) || !std::isfinite(size)) return;
    const double x0 = std::round(centre[0] / size) * size;
    const double z0 = std::round(centre[2] / size) * size;
    const double reach = kGroundGridReach * size;
    const Colour colour = ground.colours[0];
    for (int i = -kGroundGridReach; i <= kGroundGridReach; ++i) {
        const double x = x0 + i * size;
        const double z = z0 + i * size;
        edges.push_back({{x, ground.height, z0 - reach}, {x, ground.height, z0 + reach}, colour});
        edges.push_back({{x0 - reach, ground.height, z}, {x0 + reach, ground.height, z}, colour});
    }
}

void AddBox(const Box& box, std::vector<Segment>& edges) {
    // Corner bits: 1 = +x, 2 = +y, 4 = +z; an edge joins corners one bit apart.
    const auto corner = [&box](int bits) {
        Vector3 point;
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const double half = 0.5 * box.size[axis];
            point[axis] = box.centre[axis] + (((bits >> axis) & 1) != 0 ? half : -half);
        }
        return point;
    };
    for (int bits = 0; bits < 8; ++bits) {
        for (int axis = 0; axis < 3; ++axis) {
            const int other = bits | (1 << axis);
            if (other != bits) edges.push_back({corner(bits), corner(other), box.colour});
        }
    }
}

void AddSphere(const Sphere& sphere, std::vector<Segment>& edges) {
    // One circle about each world axis.
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const std::size_t u = (axis + 1) % 3;
        const std::size_t v = (axis + 2) % 3;
        const auto point = [&](int step) {
            const double angle = 2.0 * std::numbers::pi * step / kCircleSegments;
            Vector3 p = sphere.centre;
            p[u] += sphere.radius * std::cos(angle);
            p[v] += sphere.radius * std::sin(angle);
            return p;
        };
        for (int step = 0; step < kCircleSegments; ++step) {
            edges.push_back({point(step), point(step + 1), sphere.colour});
        }
    }
}

}  // namespace

std::vector<Segment> SceneEdges(const World& world, const Vector3& centre) {
    std::vector<Segment> edges;
    if (world.ground) AddGroundGrid(*world.ground, centre, edges);
    for (const Box& box : world.boxes) AddBox(box, edges);
    for (const Sphere& sphere : world.spheres) AddSphere(sphere, edges);
    return edges;
}

}  // namespace workbench::render
