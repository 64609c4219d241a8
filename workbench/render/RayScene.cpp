#include "workbench/render/RayScene.h"

#include <cmath>
#include <limits>
#include <string>

#include "workbench/Errors.h"

namespace workbench::render {

namespace {

const char* ErrorName(RTCError error) {
    switch (error) {
        case RTC_ERROR_NONE: return "no error";
        case RTC_ERROR_INVALID_ARGUMENT: return "invalid argument";
        case RTC_ERROR_INVALID_OPERATION: return "invalid operation";
        case RTC_ERROR_OUT_OF_MEMORY: return "out of memory";
        case RTC_ERROR_UNSUPPORTED_CPU: return "unsupported CPU";
        case RTC_ERROR_CANCELLED: return "cancelled";
        default: return "unknown error";
    }
}

RTCRay MakeRay(const Vector3& origin, const Vector3& direction, double nearest) {
    RTCRay ray{};
    ray.org_x = static_cast<float>(origin[0]);
    ray.org_y = static_cast<float>(origin[1]);
    ray.org_z = static_cast<float>(origin[2]);
    ray.dir_x = static_cast<float>(direction[0]);
    ray.dir_y = static_cast<float>(direction[1]);
    ray.dir_z = static_cast<float>(direction[2]);
    ray.tnear = static_cast<float>(nearest);
    ray.tfar = std::numeric_limits<float>::infinity();
    ray.mask = ~0u;
    return ray;
}

Vector3 Normalised(const Vector3& v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {v[0] / length, v[1] / length, v[2] / length};
}

}  // namespace

EmbreeDevice::EmbreeDevice() : device_(rtcNewDevice(nullptr)) {
    if (device_ == nullptr) {
        throw WorkbenchError(std::string("the ray tracer could not start: ") + ErrorName(rtcGetDeviceError(nullptr)));
    }
}

EmbreeDevice::~EmbreeDevice() { rtcReleaseDevice(device_); }

void EmbreeDevice::check(const char* what) const {
    if (const RTCError error = rtcGetDeviceError(device_); error != RTC_ERROR_NONE) {
        throw WorkbenchError(std::string("the ray tracer failed ") + what + ": " + ErrorName(error));
    }
}

EmbreeScene::EmbreeScene(const EmbreeDevice& device) : scene_(rtcNewScene(device.get())) {
    device.check("to make a scene");
}

EmbreeScene::~EmbreeScene() {
    if (scene_ != nullptr) rtcReleaseScene(scene_);
}

RayScene::RayScene(const World& world) : world_(world), scene_(device_) {
    if (world_.ground) addGround(*world_.ground);
    for (const Box& box : world_.boxes) addBox(box);
    if (!world_.spheres.empty()) addSpheres(world_.spheres);
    rtcCommitScene(scene_.get());
    device_.check("to build the scene");
}

void RayScene::addTriangles(const std::vector<float>& vertices, const std::vector<unsigned>& triangles,
                            Surface surface) {
    RTCGeometry geometry = rtcNewGeometry(device_.get(), RTC_GEOMETRY_TYPE_TRIANGLE);
    auto* vertexBuffer = static_cast<float*>(rtcSetNewGeometryBuffer(
        geometry, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3, 3 * sizeof(float), vertices.size() / 3));
    auto* indexBuffer = static_cast<unsigned*>(rtcSetNewGeometryBuffer(
        geometry, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3, 3 * sizeof(unsigned), triangles.size() / 3));
    if (vertexBuffer != nullptr && indexBuffer != nullptr) {
        std::copy(vertices.begin(), vertices.end(), vertexBuffer);
        std::copy(triangles.begin(), triangles.end(), indexBuffer);
    }
    rtcCommitGeometry(geometry);
    const unsigned id = rtcAttachGeometry(scene_.get(), geometry);
    rtcReleaseGeometry(geometry);
    device_.check("to add a surface");
    if (surfaces_.size() <= id) surfaces_.resize(id + 1);
    surfaces_[id] = std::move(surface);
}

void RayScene::addGround(const Ground& ground) {
    const auto y = static_cast<float>(ground.height);
    const auto h = static_cast<float>(kGroundHalfSize);
    addTriangles({-h, y, -h, h, y, -h, h, y, h, -h, y, h}, {0, 1, 2, 0, 2, 3}, Surface{true, {}});
}

void RayScene::addBox(const Box& box) {
    std::vector<float> vertices;
    for (int corner = 0; corner < 8; ++corner) {
        for (int axis = 0; axis < 3; ++axis) {
            const double half = 0.5 * box.size[static_cast<std::size_t>(axis)];
            const double side = (corner >> axis) & 1 ? half : -half;
            vertices.push_back(static_cast<float>(box.centre[static_cast<std::size_t>(axis)] + side));
        }
    }
    // Corner bits: 1 = +x, 2 = +y, 4 = +z. Two triangles per face.
    const std::vector<unsigned> triangles = {
        0, 2, 6, 0, 6, 4,  // -x
        1, 5, 7, 1, 7, 3,  // +x
        0, 4, 5, 0, 5, 1,  // -y
        2, 3, 7, 2, 7, 6,  // +y
        0, 1, 3, 0, 3, 2,  // -z
        4, 6, 7, 4, 7, 5,  // +z
    };
    addTriangles(vertices, triangles, Surface{false, {box.colour}});
}

void RayScene::addSpheres(const std::vector<Sphere>& spheres) {
    RTCGeometry geometry = rtcNewGeometry(device_.get(), RTC_GEOMETRY_TYPE_SPHERE_POINT);
    auto* points = static_cast<float*>(rtcSetNewGeometryBuffer(geometry, RTC_BUFFER_TYPE_VERTEX, 0,
                                                               RTC_FORMAT_FLOAT4, 4 * sizeof(float), spheres.size()));
    Surface surface;
    for (std::size_t i = 0; i < spheres.size(); ++i) {
        if (points != nullptr) {
            points[4 * i + 0] = static_cast<float>(spheres[i].centre[0]);
            points[4 * i + 1] = static_cast<float>(spheres[i].centre[1]);
            points[4 * i + 2] = static_cast<float>(spheres[i].centre[2]);
            points[4 * i + 3] = static_cast<float>(spheres[i].radius);
        }
        surface.colours.push_back(spheres[i].colour);
    }
    rtcCommitGeometry(geometry);
    const unsigned id = rtcAttachGeometry(scene_.get(), geometry);
    rtcReleaseGeometry(geometry);
    device_.check("to add the spheres");
    if (surfaces_.size() <= id) surfaces_.resize(id + 1);
    surfaces_[id] = std::move(surface);
}

std::optional<SurfaceHit> RayScene::intersect(const Vector3& origin, const Vector3& direction,
                                              double nearest) const {
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    RTCRayHit rayHit{};
    rayHit.ray = MakeRay(origin, direction, nearest);
    rayHit.hit.geomID = RTC_INVALID_GEOMETRY_ID;
    rayHit.hit.instID[0] = RTC_INVALID_GEOMETRY_ID;
    rtcIntersect1(scene_.get(), &context, &rayHit);
    if (rayHit.hit.geomID == RTC_INVALID_GEOMETRY_ID) return std::nullopt;

    const double t = rayHit.ray.tfar;
    SurfaceHit hit;
    for (std::size_t axis = 0; axis < 3; ++axis) hit.point[axis] = origin[axis] + t * direction[axis];
    Vector3 normal = Normalised({rayHit.hit.Ng_x, rayHit.hit.Ng_y, rayHit.hit.Ng_z});
    if (normal[0] * direction[0] + normal[1] * direction[1] + normal[2] * direction[2] > 0.0) {
        normal = {-normal[0], -normal[1], -normal[2]};
    }
    hit.normal = normal;

    const Surface& surface = surfaces_[rayHit.hit.geomID];
    if (surface.checkered) {
        const Ground& ground = *world_.ground;
        const auto column = static_cast<long long>(std::floor(hit.point[0] / ground.checkerSize));
        const auto row = static_cast<long long>(std::floor(hit.point[2] / ground.checkerSize));
        hit.albedo = ground.colours[static_cast<std::size_t>((column + row) & 1)];
    } else {
        hit.albedo = surface.colours.size() == 1 ? surface.colours[0] : surface.colours[rayHit.hit.primID];
    }
    return hit;
}

bool RayScene::occluded(const Vector3& origin, const Vector3& direction, double nearest) const {
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    RTCRay ray = MakeRay(origin, direction, nearest);
    rtcOccluded1(scene_.get(), &context, &ray);
    // Embree marks a blocked ray by setting its far distance to −∞.
    return ray.tfar < 0.0f;
}

}  // namespace workbench::render
