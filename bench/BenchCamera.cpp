#include "bench/BenchCamera.h"

#include <cmath>
#include <numbers>
#include <random>

#include "bench/AllocationCount.h"
#include "lens/LensState.h"

namespace bench {

using workbench::Envelope;
using workbench::Interpolation;

workbench::Scene TiltShiftScene(int motionSteps) {
    const CameraSettings settings;
    const double frame = 1.0 / 24.0;
    workbench::Scene scene;
    scene.film = {0.036, 0.024};
    scene.frames = {0, 0};
    scene.framesPerSecond = 24.0;
    scene.shutter = {0.0, 0.5};
    scene.motionSteps = motionSteps;
    scene.camera.position = {Envelope(0.0, {{0.0, 0.0, Interpolation::Linear}, {frame, 0.4}}), Envelope(1.6),
                             Envelope(-5.0, {{0.0, -5.0}, {frame, -4.7}})};
    scene.camera.rotation = {Envelope(0.0, {{0.0, 0.1, Interpolation::Linear}, {frame, 0.16}}), Envelope(0.05),
                             Envelope(0.0)};
    scene.camera.focusDistance = Envelope(settings.focusDistance);
    scene.camera.fStop = Envelope(settings.fStop);
    scene.settings = {
        {"ZoomFactor", Envelope(settings.zoomFactor)},
        {"HShift", Envelope(settings.hShift)},
        {"VShift", Envelope(settings.vShift)},
        {"TiltDirection", Envelope(settings.tiltDirection)},
        {"TiltAngle", Envelope(0.0, {{0.0, settings.tiltAngleAtStart, Interpolation::Linear}, {frame, 0.12}})},
    };
    return scene;
}

BenchCamera::BenchCamera(int motionSteps)
    : workbench_(TARVELIN_MODULE_PATH), stage_(workbench_.handler(), TiltShiftScene(motionSteps)) {
    WatchModuleFile(reinterpret_cast<const void*>(record().evaluateRay));
    stage_.setupFrame(0);
}

tarvelin::LensSample BenchCamera::sampleAt(double time) const {
    const CameraSettings settings;
    const workbench::Scene& scene = stage_.scene();
    const tarvelin::LensState lens{settings.zoomFactor,
                                   settings.hShift,
                                   settings.vShift,
                                   settings.tiltDirection,
                                   scene.settings.at("TiltAngle").valueAt(time),
                                   scene.film.width,
                                   scene.film.height,
                                   settings.focusDistance,
                                   settings.fStop};
    const workbench::Vector3 position = stage_.camera().positionAt(time);
    const workbench::Axes axes = stage_.camera().axesAt(time);
    const auto vector = [](const workbench::Vector3& v) { return tarvelin::Vector3d{v[0], v[1], v[2]}; };
    const tarvelin::CameraPlacement placement{vector(position), vector(axes.right), vector(axes.up),
                                              vector(axes.forward)};
    return tarvelin::MakeLensSample(lens, placement);
}

std::vector<RaySample> MakeRaySamples(const workbench::Film& film, std::size_t count) {
    std::mt19937_64 random(20261211);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<RaySample> samples(count);
    for (RaySample& sample : samples) {
        sample.filmX = (unit(random) - 0.5) * film.width;
        sample.filmY = (unit(random) - 0.5) * film.height;
        const double radius = std::sqrt(unit(random));
        const double angle = 2.0 * std::numbers::pi * unit(random);
        sample.lensX = radius * std::cos(angle);
        sample.lensY = radius * std::sin(angle);
        sample.fraction = unit(random);
    }
    return samples;
}

}  // namespace bench
