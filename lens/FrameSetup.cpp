#include <cstdint>
#include <limits>

#include "instance/TiltShiftInstance.h"
#include "lens/LensOperations.h"
#include "lens/LensState.h"
#include "lens/LensTable.h"
#include "module/ErrorTexts.h"
#include "module/Memory.h"

namespace tarvelin {

namespace {

// The sample count for `motionSteps`, or 0 when the steps are negative or the
// interval count or the block's size would not fit in 32 bits.
std::uint64_t SampleCount(std::int32_t motionSteps) {
    if (motionSteps < 0) return 0;
    const std::uint64_t intervals = 4 * static_cast<std::uint64_t>(motionSteps);
    const std::uint64_t samples = intervals + 1;
    if (intervals > std::numeric_limits<std::uint32_t>::max() ||
        samples > std::numeric_limits<std::uint32_t>::max() / sizeof(LensSample)) {
        return 0;
    }
    return samples;
}

}  // namespace

const char* SetupFrame(void* instance, const host::FrameSetup* frame, const host::CameraAccess* camera) {
    auto* cameraInstance = static_cast<TiltShiftInstance*>(instance);
    const std::uint64_t sampleCount = SampleCount(frame->motionSteps);
    const auto intervals = static_cast<std::uint32_t>(sampleCount == 0 ? 0 : sampleCount - 1);

    LensTable.intervalCount = intervals;
    LensTable.startTime = frame->startTime;
    LensTable.duration = frame->duration;
    Release(LensTable.samples);
    LensTable.samples = nullptr;
    if (sampleCount == 0) return kMemoryError;
    LensTable.samples = static_cast<LensSample*>(AllocateZeroed(sampleCount, sizeof(LensSample)));
    if (LensTable.samples == nullptr) return kMemoryError;

    const double step = intervals == 0 ? 0.0 : frame->duration / static_cast<double>(intervals);
    for (std::uint32_t i = 0; i <= intervals; ++i) {
        const double time = intervals == 0 ? frame->startTime : frame->startTime + step * static_cast<double>(i);
        const LensState lens = ReadLensState(cameraInstance, camera, time);
        const CameraPlacement placement = ReadCameraPlacement(camera->cameraItem, time);
        LensTable.samples[i] = MakeLensSample(lens, placement);
    }
    return nullptr;
}

}  // namespace tarvelin
