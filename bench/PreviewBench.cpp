// The interactive view's projection per call, through the handler record.

#include <benchmark/benchmark.h>

#include "bench/BenchCamera.h"

namespace bench {
namespace {

void PreviewProjection(benchmark::State& state) {
    BenchCamera camera(0);
    const auto preview = camera.record().preview;
    void* const instance = camera.instance();
    const host::CameraAccess access = camera.access();
    const std::vector<RaySample> lensPoints = MakeRaySamples(camera.scene().film, 256);
    double projection[4][4] = {};
    std::size_t next = 0;
    for (auto _ : state) {
        const RaySample& point = lensPoints[next++ & 255];
        benchmark::DoNotOptimize(preview(instance, point.lensX, point.lensY, projection, &access));
        benchmark::DoNotOptimize(projection);
    }
}

}  // namespace

BENCHMARK(PreviewProjection)->Name("PreviewProjection");

}  // namespace bench
