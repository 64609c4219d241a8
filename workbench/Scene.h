#pragma once
// A scene as plain data: what the workbench renders and how the camera moves.
// Units are the host's: metres, seconds and radians; settings as the module
// keeps them (shifts as fractions of the film, angles in radians).

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/CameraRecords.h"
#include "workbench/Envelope.h"
#include "workbench/Rotation.h"

namespace workbench {

using Colour = std::array<double, 3>;  // linear red, green, blue from 0 to 1

// The camera's five animated settings, in the module's settings order.
inline constexpr std::array<std::string_view, 5> kSettingChannels = {"ZoomFactor", "HShift", "VShift",
                                                                     "TiltDirection", "TiltAngle"};

struct Film {
    double width = 0.036;   // metres
    double height = 0.024;  // metres

    bool operator==(const Film&) const = default;
};

struct Resolution {
    int width = 640;
    int height = 480;

    bool operator==(const Resolution&) const = default;
};

struct FrameRange {
    int first = 0;
    int last = 0;

    bool operator==(const FrameRange&) const = default;
};

// The shutter opens `offset` frames after a frame's start and stays open for
// `duration` frames.
struct Shutter {
    double offset = 0.0;
    double duration = 0.5;

    bool operator==(const Shutter&) const = default;
};

struct CameraSetup {
    std::string name = "Camera";
    std::array<Envelope, 3> position;  // x, y, z
    std::array<Envelope, 3> rotation;  // heading, pitch, bank
    Envelope zoomFactor{3.2};
    Envelope focusDistance{1.0};
    Envelope fStop{4.0};

    bool operator==(const CameraSetup&) const = default;
};

struct Ground {
    double height = 0.0;       // y of the plane
    double checkerSize = 1.0;  // metres per square
    std::array<Colour, 2> colours{{{0.8, 0.8, 0.8}, {0.2, 0.2, 0.2}}};

    bool operator==(const Ground&) const = default;
};

struct Box {
    Vector3 centre{};
    Vector3 size{1.0, 1.0, 1.0};
    Colour colour{0.8, 0.8, 0.8};

    bool operator==(const Box&) const = default;
};

struct Sphere {
    Vector3 centre{};
    double radius = 0.5;
    Colour colour{0.8, 0.8, 0.8};

    bool operator==(const Sphere&) const = default;
};

struct Light {
    Vector3 direction{-0.5, -1.0, 0.5};  // the way the light travels
    double ambient = 0.2;

    bool operator==(const Light&) const = default;
};

struct World {
    Colour background{0.5, 0.6, 0.7};
    Light light;
    std::optional<Ground> ground;
    std::vector<Box> boxes;
    std::vector<Sphere> spheres;

    bool operator==(const World&) const = default;
};

struct Scene {
    Film film;
    Resolution resolution;
    FrameRange frames;
    double framesPerSecond = 24.0;
    Shutter shutter;
    int motionSteps = 0;
    CameraSetup camera;
    // Readable settings channels by name (a subset of kSettingChannels).
    std::map<std::string, Envelope, std::less<>> settings;
    // The module's own scene data for the camera, each float by its bit
    // pattern. When present it decides the settings and `settings` is only
    // for reading.
    std::optional<std::vector<std::uint32_t>> moduleData;
    World world;

    bool operator==(const Scene&) const = default;

    // Seconds at which frame `frame` starts.
    double frameTime(int frame) const { return frame / framesPerSecond; }
    // The shutter interval of `frame`, as the per-frame set-up takes it.
    host::FrameSetup frameSetup(int frame) const;
};

}  // namespace workbench
