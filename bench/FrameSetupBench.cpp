// The per-frame set-up against the stand-in host's services, per call and
// per lens sample, for growing motion-step counts.

#include <benchmark/benchmark.h>

#include "bench/AllocationCount.h"
#include "bench/BenchCamera.h"

namespace bench {
namespace {

void SetupFrame(benchmark::State& state) {
    BenchCamera camera(static_cast<int>(state.range(0)));
    const auto setup = camera.record().setupFrame;
    void* const instance = camera.instance();
    const host::FrameSetup frame = camera.frameSetup();
    const host::CameraAccess access = camera.access();
    const AllocationTally before = Allocations();
    for (auto _ : state) {
        benchmark::DoNotOptimize(setup(instance, &frame, &access));
    }
    const AllocationTally after = Allocations();
    const double iterations = static_cast<double>(state.iterations());
    state.counters["samples"] = 4.0 * static_cast<double>(frame.motionSteps) + 1.0;
    // Seconds per lens sample.
    state.counters["per_sample"] = benchmark::Counter(
        state.counters["samples"], benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["allocs_per_call"] = static_cast<double>(after.all - before.all) / iterations;
    state.counters["module_allocs_per_call"] = static_cast<double>(after.fromModule - before.fromModule) / iterations;
}

}  // namespace

BENCHMARK(SetupFrame)->Name("SetupFrame/motion_steps")->Arg(0)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace bench
