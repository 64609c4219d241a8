#pragma once
// A thin-lens camera written the way a renderer's built-in camera usually is:
// the film point's pinhole ray in camera space meets the plane of focus, the
// ray from the lens point to that meeting point is normalised, and the camera
// matrix of the moment takes origin and direction into world space. It has
// shift but no tilt. What a user pays per ray with the renderer's own camera.

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace bench {

// Camera space to world space for row vectors: rows right, up, forward and
// the position.
struct CameraMatrix {
    std::array<double, 3> right, up, forward, position;
};

struct ThinLensRay {
    double origin[3];
    double direction[3];
    double forwardAxis[3];
};

struct ThinLensCamera {
    double filmToCamera;   // 1 / focal length: film metres to camera space at unit depth
    double lensRadius;     // metres
    double focusDistance;  // metres, along the forward axis
    double shiftX, shiftY; // metres across the film
    std::vector<CameraMatrix> matrices;  // at evenly spaced moments of the shutter

    // A film point (metres from the film's centre), a point of the unit lens
    // disc and a fraction of the shutter interval.
    inline void generateRay(double filmX, double filmY, double lensX, double lensY, double fraction,
                            ThinLensRay& ray) const {
        const auto last = static_cast<std::uint32_t>(matrices.size() - 1);
        const double position = static_cast<double>(last) * fraction;
        const std::uint32_t index = position >= last ? last : position > 0.0 ? static_cast<std::uint32_t>(position) : 0;
        const CameraMatrix& m = matrices[index];

        // Pinhole ray through the film point, at unit depth.
        const double px = (filmX + shiftX) * filmToCamera;
        const double py = (filmY + shiftY) * filmToCamera;
        const double pz = 1.0;
        // Where it meets the plane of focus.
        const double t = focusDistance / pz;
        const double fx = px * t, fy = py * t, fz = pz * t;
        // From the lens point to there, normalised.
        const double ox = lensRadius * lensX, oy = lensRadius * lensY, oz = 0.0;
        double dx = fx - ox, dy = fy - oy, dz = fz - oz;
        const double inverseLength = 1.0 / std::sqrt(dx * dx + dy * dy + dz * dz);
        dx *= inverseLength;
        dy *= inverseLength;
        dz *= inverseLength;
        // Into world space.
        for (int i = 0; i < 3; ++i) {
            ray.origin[i] = ox * m.right[i] + oy * m.up[i] + oz * m.forward[i] + m.position[i];
            ray.direction[i] = dx * m.right[i] + dy * m.up[i] + dz * m.forward[i];
            ray.forwardAxis[i] = m.forward[i];
        }
    }
};

}  // namespace bench
