// Whole frames of the demo scenes through RenderFrame, as `tarvelin render`
// makes them (without loading the scene and writing the file), on one and on
// two threads: camera rays per second of wall-clock time.

#include "bench/RenderBench.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "workbench/SceneFile.h"
#include "workbench/Stage.h"
#include "workbench/Workbench.h"
#include "workbench/render/Render.h"

namespace bench {
namespace {

// Each scene's picture is scaled down from its own resolution (keeping the
// film's aspect) so that one frame takes a few tenths of a second here.
struct RenderCase {
    const char* scene;  // a file of examples/, without ".json"
    int divisor;        // of the scene's width and height
    int samplesPerPixel;
};

constexpr std::array kRenderCases{
    RenderCase{"miniature", 1, 8},
    RenderCase{"architecture", 1, 8},
    RenderCase{"plain", 1, 8},
};

void RenderScene(benchmark::State& state, const RenderCase& renderCase) {
    const std::string file = std::string(TARVELIN_EXAMPLES_DIR) + "/" + renderCase.scene + ".json";
    workbench::Scene scene = workbench::LoadSceneFile(file);
    scene.resolution.width /= renderCase.divisor;
    scene.resolution.height /= renderCase.divisor;
    const int frame = scene.frames.first;
    const double rays = static_cast<double>(scene.resolution.width) * scene.resolution.height *
                        renderCase.samplesPerPixel;

    workbench::Workbench workbench(TARVELIN_MODULE_PATH);
    workbench::Stage stage(workbench.handler(), std::move(scene));
    workbench::render::RenderOptions options;
    options.samplesPerPixel = renderCase.samplesPerPixel;
    options.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(workbench::render::RenderFrame(stage, frame, options));
    }
    state.counters["rays_per_second"] = benchmark::Counter(rays, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["rays"] = rays;
}

}  // namespace

void RegisterRenderBenchmarks() {
    for (const RenderCase& renderCase : kRenderCases) {
        benchmark::RegisterBenchmark((std::string("Render/") + renderCase.scene).c_str(), RenderScene, renderCase)
            ->ArgName("threads")
            ->Arg(1)
            ->Arg(2)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace bench
