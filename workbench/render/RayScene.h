#pragma once
// The scene's world built for Embree: the ground as one large quad, boxes as
// twelve triangles each, spheres as Embree's sphere points. Answers which
// surface a ray meets first and whether anything blocks it.

#include <embree3/rtcore.h>

#include <optional>
#include <vector>

#include "workbench/Scene.h"

namespace workbench::render {

// An Embree device, released when this goes.
class EmbreeDevice {
public:
    EmbreeDevice();  // throws WorkbenchError
    ~EmbreeDevice();
    EmbreeDevice(const EmbreeDevice&) = delete;
    EmbreeDevice& operator=(const EmbreeDevice&) = delete;

    RTCDevice get() const { return device_; }
    // Throws WorkbenchError naming `what` when the device has an error.
    void check(const char* what) const;

private:
    RTCDevice device_;
};

// An Embree scene, released when this goes.
class EmbreeScene {
public:
    explicit EmbreeScene(const EmbreeDevice& device);
    ~EmbreeScene();
    EmbreeScene(const EmbreeScene&) = delete;
    EmbreeScene& operator=(const EmbreeScene&) = delete;

    RTCScene get() const { return scene_; }

private:
    RTCScene scene_;
};

// Where a ray meets a surface.
struct SurfaceHit {
    Vector3 point;
    Vector3 normal;  // unit length, facing back along the ray
    Colour albedo;
};

class RayScene {
public:
    // Throws WorkbenchError when Embree cannot build the scene.
    explicit RayScene(const World& world);

    // The nearest surface along the ray beyond `nearest`; `direction` need
    // not be unit length. Safe to call from several threads at once.
    std::optional<SurfaceHit> intersect(const Vector3& origin, const Vector3& direction, double nearest = 0.0) const;
    // True when a surface lies along the ray beyond `nearest`.
    bool occluded(const Vector3& origin, const Vector3& direction, double nearest = 0.0) const;

    // Half the side of the square the ground covers, centred on the origin.
    static constexpr double kGroundHalfSize = 5000.0;

private:
    // What Embree's geometry id stands for.
    struct Surface {
        bool checkered = false;
        std::vector<Colour> colours;  // by primitive, or one for them all
    };

    void addGround(const Ground& ground);
    void addBox(const Box& box);
    void addSpheres(const std::vector<Sphere>& spheres);
    void addTriangles(const std::vector<float>& vertices, const std::vector<unsigned>& triangles, Surface surface);

    World world_;
    EmbreeDevice device_;
    EmbreeScene scene_;
    std::vector<Surface> surfaces_;  // by geometry id
};

}  // namespace workbench::render
