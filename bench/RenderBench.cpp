// Whole frames of the demo scenes through RenderFrame, as `tarvelin render`
// makes them (without loading the scene and writing the file), on one and on
// two threads: camera rays (pixels × samples per pixel) per second of
// wall-clock time, and the scaling from one thread to two. An iteration is
// one frame on each thread count; its time is the two frames' together.

#include "bench/RenderBench.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
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
    const auto seconds = [&](int threads) {
        workbench::render::RenderOptions options;
        options.samplesPerPixel = renderCase.samplesPerPixel;
        options.threads = threads;
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(workbench::render::RenderFrame(stage, frame, options));
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };

    // Both thread counts in every iteration, back to back and in turn first,
    // so that a slow spell of the shared machine falls on both alike.
    std::array<double, 2> total{};  // seconds on one thread, on two
    bool oneThreadFirst = true;
    for (auto _ : state) {
        std::array<double, 2> pair{};
        if (oneThreadFirst) {
            pair[0] = seconds(1);
            pair[1] = seconds(2);
        } else {
            pair[1] = seconds(2);
            pair[0] = seconds(1);
        }
        oneThreadFirst = !oneThreadFirst;
        state.SetIterationTime(pair[0] + pair[1]);
        total[0] += pair[0];
        total[1] += pair[1];
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["rays"] = rays;
    state.counters["rays_per_second_1"] = rays * iterations / total[0];
    state.counters["rays_per_second_2"] = rays * iterations / total[1];
    state.counters["scaling_2_1"] = total[0] / total[1];
}

}  // namespace

void RegisterRenderBenchmarks() {
    for (const RenderCase& renderCase : kRenderCases) {
        benchmark::RegisterBenchmark((std::string("Render/") + renderCase.scene).c_str(), RenderScene, renderCase)
            ->UseManualTime()
            ->Iterations(2)  // one with each thread count first
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace bench
