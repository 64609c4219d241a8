// Nanoseconds per ray: the module's ray evaluation called through the host's
// handler record, a renderer's usual thin-lens camera, and the module's lens
// arithmetic inlined on one sample (the floor no call can beat).

#include <benchmark/benchmark.h>

#include <bit>
#include <cstdint>
#include <cstring>

#include "bench/AllocationCount.h"
#include "bench/BenchCamera.h"
#include "bench/ThinLensCamera.h"
#include "lens/LensTable.h"

namespace bench {
namespace {

constexpr int kMotionSteps = 2;
constexpr std::size_t kSampleCount = 4096;  // a power of two: the index wraps by mask
static_assert(std::has_single_bit(kSampleCount));

void ReportAllocations(benchmark::State& state, const AllocationTally& before) {
    const AllocationTally after = Allocations();
    state.counters["allocs"] = static_cast<double>(after.all - before.all);
    state.counters["module_allocs"] = static_cast<double>(after.fromModule - before.fromModule);
}

void EvaluateRay(benchmark::State& state) {
    BenchCamera camera(kMotionSteps);
    const auto evaluate = camera.record().evaluateRay;
    void* const instance = camera.instance();
    const std::vector<RaySample> samples = MakeRaySamples(camera.scene().film, kSampleCount);
    host::CameraRay ray{};
    std::size_t next = 0;
    const AllocationTally before = Allocations();
    for (auto _ : state) {
        const RaySample& s = samples[next++ & (kSampleCount - 1)];
        benchmark::DoNotOptimize(evaluate(instance, s.filmX, s.filmY, s.lensX, s.lensY, s.fraction, &ray));
        benchmark::DoNotOptimize(ray);
    }
    ReportAllocations(state, before);
}

ThinLensCamera ReferenceCamera(const BenchCamera& camera) {
    const CameraSettings settings;
    const workbench::Scene& scene = camera.scene();
    const host::FrameSetup frame = scene.frameSetup(0);
    ThinLensCamera reference{};
    const double focalLength = scene.film.height * settings.zoomFactor * 0.5;
    reference.filmToCamera = 1.0 / focalLength;
    reference.lensRadius = focalLength / (2.0 * settings.fStop);
    reference.focusDistance = settings.focusDistance;
    reference.shiftX = settings.hShift * scene.film.width;
    reference.shiftY = settings.vShift * scene.film.height;
    const int intervals = 4 * frame.motionSteps;
    for (int i = 0; i <= intervals; ++i) {
        const double time = frame.startTime + frame.duration * i / (intervals == 0 ? 1 : intervals);
        const workbench::Axes axes = camera.camera().axesAt(time);
        reference.matrices.push_back({axes.right, axes.up, axes.forward, camera.camera().positionAt(time)});
    }
    return reference;
}

void ThinLensReference(benchmark::State& state) {
    BenchCamera camera(kMotionSteps);
    const ThinLensCamera reference = ReferenceCamera(camera);
    const std::vector<RaySample> samples = MakeRaySamples(camera.scene().film, kSampleCount);
    ThinLensRay ray{};
    std::size_t next = 0;
    const AllocationTally before = Allocations();
    for (auto _ : state) {
        const RaySample& s = samples[next++ & (kSampleCount - 1)];
        reference.generateRay(s.filmX, s.filmY, s.lensX, s.lensY, s.fraction, ray);
        benchmark::DoNotOptimize(ray);
    }
    ReportAllocations(state, before);
}

// The module's lens samples for the frame, made here as its set-up makes them.
std::vector<tarvelin::LensSample> FrameSamples(const BenchCamera& camera) {
    const host::FrameSetup frame = camera.frameSetup();
    const auto intervals = static_cast<std::uint32_t>(4 * frame.motionSteps);
    const double step = intervals == 0 ? 0.0 : frame.duration / static_cast<double>(intervals);
    std::vector<tarvelin::LensSample> samples;
    for (std::uint32_t i = 0; i <= intervals; ++i) {
        samples.push_back(camera.sampleAt(frame.startTime + step * static_cast<double>(i)));
    }
    return samples;
}

void WriteRay(const tarvelin::LensRay& lensRay, const tarvelin::Vector3d& forwardAxis, host::CameraRay& ray) {
    ray.origin[0] = lensRay.origin.x;
    ray.origin[1] = lensRay.origin.y;
    ray.origin[2] = lensRay.origin.z;
    ray.direction[0] = lensRay.direction.x;
    ray.direction[1] = lensRay.direction.y;
    ray.direction[2] = lensRay.direction.z;
    ray.forwardAxis[0] = forwardAxis.x;
    ray.forwardAxis[1] = forwardAxis.y;
    ray.forwardAxis[2] = forwardAxis.z;
}

// The inlined arithmetic must be the module's: the rays of the table made
// here are compared bit for bit with the module's before anything is timed.
bool SameRays(BenchCamera& camera, const tarvelin::LensSampleTable& table, const std::vector<RaySample>& samples) {
    for (std::size_t i = 0; i < 256; ++i) {
        const RaySample& s = samples[i];
        host::CameraRay moduleRay{};
        camera.record().evaluateRay(camera.instance(), s.filmX, s.filmY, s.lensX, s.lensY, s.fraction, &moduleRay);
        const tarvelin::LensSample& sample = tarvelin::SampleAtFraction(table, s.fraction);
        host::CameraRay ray{};
        WriteRay(tarvelin::TraceLensSample(sample, s.filmX, s.filmY, s.lensX, s.lensY), sample.forwardAxis, ray);
        if (std::memcmp(&ray, &moduleRay, sizeof ray) != 0) return false;
    }
    return true;
}

// The floor: the module's arithmetic inlined into the loop on one sample
// (the frame's first), with no call and no table lookup.
void InlinedFloor(benchmark::State& state) {
    BenchCamera camera(kMotionSteps);
    std::vector<tarvelin::LensSample> table = FrameSamples(camera);
    const std::vector<RaySample> samples = MakeRaySamples(camera.scene().film, kSampleCount);
    if (!SameRays(camera, {static_cast<std::uint32_t>(table.size() - 1), 0.0, 0.0, table.data()}, samples)) {
        state.SkipWithError("the inlined arithmetic does not give the module's rays");
        return;
    }
    const tarvelin::LensSample sample = table.front();
    host::CameraRay ray{};
    std::size_t next = 0;
    const AllocationTally before = Allocations();
    for (auto _ : state) {
        const RaySample& s = samples[next++ & (kSampleCount - 1)];
        WriteRay(tarvelin::TraceLensSample(sample, s.filmX, s.filmY, s.lensX, s.lensY), sample.forwardAxis, ray);
        benchmark::DoNotOptimize(ray);
    }
    ReportAllocations(state, before);
}

// What the floor gains from the table lookup alone: the module's lookup and
// arithmetic inlined, with no call.
void InlinedWithLookup(benchmark::State& state) {
    BenchCamera camera(kMotionSteps);
    std::vector<tarvelin::LensSample> samplesOfFrame = FrameSamples(camera);
    const tarvelin::LensSampleTable table{static_cast<std::uint32_t>(samplesOfFrame.size() - 1), 0.0, 0.0,
                                          samplesOfFrame.data()};
    const std::vector<RaySample> samples = MakeRaySamples(camera.scene().film, kSampleCount);
    if (!SameRays(camera, table, samples)) {
        state.SkipWithError("the inlined arithmetic does not give the module's rays");
        return;
    }
    host::CameraRay ray{};
    std::size_t next = 0;
    for (auto _ : state) {
        const RaySample& s = samples[next++ & (kSampleCount - 1)];
        const tarvelin::LensSample& sample = tarvelin::SampleAtFraction(table, s.fraction);
        WriteRay(tarvelin::TraceLensSample(sample, s.filmX, s.filmY, s.lensX, s.lensY), sample.forwardAxis, ray);
        benchmark::DoNotOptimize(ray);
    }
}

// What the floor gains from the call alone: the arithmetic on one sample
// behind a function pointer of the ray evaluation's type, with no lookup.
[[gnu::noinline]] int TraceOneSample(void* instance, double filmX, double filmY, double lensX, double lensY,
                                     double /*fraction*/, host::CameraRay* ray) {
    const auto& sample = *static_cast<const tarvelin::LensSample*>(instance);
    WriteRay(tarvelin::TraceLensSample(sample, filmX, filmY, lensX, lensY), sample.forwardAxis, *ray);
    return 1;
}

void CallWithoutLookup(benchmark::State& state) {
    BenchCamera camera(kMotionSteps);
    tarvelin::LensSample sample = FrameSamples(camera).front();
    auto trace = &TraceOneSample;
    benchmark::DoNotOptimize(trace);  // an opaque pointer, as the host's is
    const std::vector<RaySample> samples = MakeRaySamples(camera.scene().film, kSampleCount);
    host::CameraRay ray{};
    std::size_t next = 0;
    for (auto _ : state) {
        const RaySample& s = samples[next++ & (kSampleCount - 1)];
        benchmark::DoNotOptimize(trace(&sample, s.filmX, s.filmY, s.lensX, s.lensY, s.fraction, &ray));
        benchmark::DoNotOptimize(ray);
    }
}

}  // namespace

BENCHMARK(EvaluateRay)->Name("Ray/EvaluateRay");
BENCHMARK(ThinLensReference)->Name("Ray/ThinLensReference");
BENCHMARK(InlinedFloor)->Name("Ray/InlinedFloor");
// Where the distance between the two comes from.
BENCHMARK(InlinedWithLookup)->Name("Ray/InlinedWithLookup");
BENCHMARK(CallWithoutLookup)->Name("Ray/CallWithoutLookup");

}  // namespace bench
