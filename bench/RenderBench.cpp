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
#include <utility>

#include "workbench/SceneFile.h"
#include "workbench/Stage.h"
#include "workbench/Workbench.h"
#include "workbench/render/Render.h"

namespace bench {
namespace {

// The demo scenes (files of examples/), at their own resolutions; at this
// many samples per pixel a frame takes a few tenths of a second here.
constexpr std::array kScenes{"miniature", "architecture", "plain", "tabletop"};
constexpr int kSamplesPerPixel = 8;

void RenderScene(benchmark::State& state, const char* sceneName) {
    const std::string file = std::string(TARVELIN_EXAMPLES_DIR) + "/" + sceneName + ".json";
    workbench::Scene scene = workbench::LoadSceneFile(file);
    const int frame = scene.frames.first;
    const double rays = static_cast<double>(scene.resolution.width) * scene.resolution.height * kSamplesPerPixel;

    workbench::Workbench workbench(TARVELIN_MODULE_PATH);
    workbench::Stage stage(workbench.handler(), std::move(scene));
    const auto seconds = [&](int threads) {
        workbench::render::RenderOptions options;
        options.samplesPerPixel = kSamplesPerPixel;
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
    for (const char* sceneName : kScenes) {
        benchmark::RegisterBenchmark((std::string("Render/") + sceneName).c_str(), RenderScene, sceneName)
            ->UseManualTime()
            ->Iterations(2)  // one with each thread count first
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace bench
