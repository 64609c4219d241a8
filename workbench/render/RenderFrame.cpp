// RenderFrame: every pixel sample becomes a ray through the module's ray
// evaluation and is traced through the scene's world.

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

#include "workbench/Errors.h"
#include "workbench/render/Film.h"
#include "workbench/render/PixelSampler.h"
#include "workbench/render/RayScene.h"
#include "workbench/render/Render.h"
#include "workbench/render/Shading.h"

namespace workbench::render {

namespace {

void CheckOptions(const Scene& scene, const RenderOptions& options) {
    if (options.samplesPerPixel < 1) {
        throw std::invalid_argument("samples per pixel must be at least 1, not " +
                                    std::to_string(options.samplesPerPixel));
    }
    if (options.threads < 0) {
        throw std::invalid_argument("the thread count must be 0 (every core) or more, not " +
                                    std::to_string(options.threads));
    }
    if (scene.resolution.width < 1 || scene.resolution.height < 1) {
        throw std::invalid_argument("the resolution must be at least 1 × 1, not " +
                                    std::to_string(scene.resolution.width) + " × " +
                                    std::to_string(scene.resolution.height));
    }
}

[[noreturn]] void NoRay(const Stage& stage) {
    throw ModuleError(stage.instance().handler().module().file().string() +
                      ": the camera gave no ray: its ray evaluation has no lens table");
}

bool Finite(const double (&v)[3]) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

// Reports the share of rows done, one call at a time and never going back.
class Progress {
public:
    Progress(const std::function<void(double)>& report, int rows) : report_(report), rows_(rows) {}

    void rowDone() {
        ++done_;
        if (!report_) return;
        const std::lock_guard lock(mutex_);
        report_(static_cast<double>(done_.load()) / rows_);
    }

private:
    const std::function<void(double)>& report_;
    const int rows_;
    std::atomic<int> done_{0};
    std::mutex mutex_;
};

}  // namespace

Image RenderFrame(Stage& stage, int frame, const RenderOptions& options) {
    const Scene& scene = stage.scene();
    CheckOptions(scene, options);
    stage.setupFrame(frame);
    const CameraInstance& camera = stage.instance();
    // Embree builds its scene with the threads of the arena it is built in.
    tbb::task_arena arena(options.threads == 0 ? tbb::task_arena::automatic : options.threads);
    std::optional<RayScene> built;
    arena.execute([&] { built.emplace(scene.world); });
    const RayScene& world = *built;

    Image image;
    image.width = scene.resolution.width;
    image.height = scene.resolution.height;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, Colour{});

    // Ask once before the threads start, so a module without a table fails
    // with one clear error.
    host::CameraRay probe{};
    if (!camera.evaluateRay(0.0, 0.0, 0.0, 0.0, 0.0, probe)) NoRay(stage);

    Progress progress(options.progress, image.height);
    const auto renderRows = [&](const tbb::blocked_range<int>& rows) {
        std::vector<CameraSample> samples;
        for (int y = rows.begin(); y != rows.end(); ++y) {
            for (int x = 0; x < image.width; ++x) {
                SamplePixel(x, y, frame, options.samplesPerPixel, samples);
                Colour sum{};
                for (const CameraSample& sample : samples) {
                    const FilmPoint film =
                        FilmFromPixel(scene.film, scene.resolution, {x + sample.pixelX, y + sample.pixelY});
                    host::CameraRay ray{};
                    if (!camera.evaluateRay(film.x, film.y, sample.lensX, sample.lensY, sample.shutter, ray)) {
                        NoRay(stage);
                    }
                    // A ray the lens cannot make (a zero f-stop, say) shows as black.
                    if (!Finite(ray.origin) || !Finite(ray.direction)) continue;
                    const Colour colour =
                        Shade(world, scene.world, {ray.origin[0], ray.origin[1], ray.origin[2]},
                              {ray.direction[0], ray.direction[1], ray.direction[2]});
                    for (std::size_t c = 0; c < 3; ++c) sum[c] += colour[c];
                }
                Colour& pixel = image.pixels[static_cast<std::size_t>(y) * image.width + x];
                for (std::size_t c = 0; c < 3; ++c) pixel[c] = sum[c] / options.samplesPerPixel;
            }
            progress.rowDone();
        }
    };

    arena.execute([&] { tbb::parallel_for(tbb::blocked_range<int>(0, image.height, 1), renderRows); });
    return image;
}

}  // namespace workbench::render
