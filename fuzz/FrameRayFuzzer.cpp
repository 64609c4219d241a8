// The per-frame set-up and the ray evaluation with whatever the host and the
// renderer may hand over: settings, film size, focus distance, f-stop and
// camera axes that are zero, huge or not finite, any shutter interval and
// motion-step count, and any film point, lens point and shutter fraction.
//
// Invariants: nothing crashes or reads outside the lens table (AddressSanitizer
// watches the table's one heap block); each ray's sample index stays within
// 0..4·motionSteps, and is the one the fraction names when the fraction is
// within 0..1; a refused or failed set-up leaves no table, and every ray then
// answers 0 and leaves the caller's ray untouched.
//
// Motion steps: any count from 0 to kMostSteps is used as it stands, and so
// is any count the module must refuse outright (negative, or 2^28 and more,
// whose table would not fit 32 bits); the counts in between are folded to
// 0..kMostSteps, so that no case allocates more than 65 samples (12 KB).
//
// Input: flags byte (1: the allocation fails, 2: no camera service, 4: no
// item service), motion steps (32 bits), start time, duration, five
// parameter values and five rates, film width and height, camera position,
// velocity, right, up and forward axes, focus distance and its rate, f-stop,
// the preview's lens x and y (doubles); then rays of five doubles each: film
// x and y, lens x and y, fraction.

#include <array>
#include <cmath>
#include <cstring>

#include "fuzz/CameraSession.h"
#include "lens/LensOperations.h"
#include "module/ErrorTexts.h"

namespace {

using fuzz::FuzzInput;

constexpr std::int32_t kMostSteps = 16;
constexpr std::int32_t kSurelyRefusedSteps = 1 << 28;
constexpr int kMostRays = 32;

std::int32_t BoundedSteps(std::int32_t steps) {
    if (steps < 0 || steps >= kSurelyRefusedSteps) return steps;
    return steps % (kMostSteps + 1);
}

void ReadVector(FuzzInput& input, std::array<double, 3>& vector) {
    for (double& component : vector) component = input.number();
}

// The index the ray evaluation chose, as its address within the table.
std::uint64_t ChosenIndex(double fraction) {
    const tarvelin::LensSample* chosen = &tarvelin::SampleAtFraction(tarvelin::LensTable, fraction);
    return static_cast<std::uint64_t>(chosen - tarvelin::LensTable.samples);
}

bool SameBits(const double (&a)[3], const tarvelin::Vector3d& b) {
    const double other[3] = {b.x, b.y, b.z};
    return std::memcmp(a, other, sizeof other) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    fuzz::CameraSession session;
    testhost::RecordingHost& host = session.host;
    tarvelin::TiltShiftInstance* instance = session.CreateInstance();

    const std::uint8_t flags = input.byte();
    const std::int32_t steps = BoundedSteps(input.integer());
    host::FrameSetup frame{};
    frame.startTime = input.number();
    frame.duration = input.number();
    frame.motionSteps = steps;
    for (const tarvelin::Setting& setting : tarvelin::kSettings) {
        host.parameter(instance->*setting.parameter).value = input.number();
    }
    for (const tarvelin::Setting& setting : tarvelin::kSettings) {
        host.parameter(instance->*setting.parameter).slope = input.number();
    }
    host::CameraAccess camera{};
    camera.cameraItem = host.cameraItem;
    camera.filmWidth = input.number();
    camera.filmHeight = input.number();
    ReadVector(input, host.camera.position);
    ReadVector(input, host.camera.velocity);
    ReadVector(input, host.camera.right);
    ReadVector(input, host.camera.up);
    ReadVector(input, host.camera.forward);
    host.camera.focusDistance = input.number();
    host.camera.focusRate = input.number();
    host.camera.fStop = input.number();
    const double previewLensX = input.number();
    const double previewLensY = input.number();

    // As a later activation that found them missing would leave the module.
    if ((flags & 2u) != 0) tarvelin::HostServices.cameraInfo = nullptr;
    if ((flags & 4u) != 0) tarvelin::HostServices.itemInfo = nullptr;
    const bool allocationFails = (flags & 1u) != 0;
    if (allocationFails) testhost::FailNextAllocations(1);

    const char* error = tarvelin::SetupFrame(instance, &frame, &camera);
    const bool refused = steps < 0 || steps >= kSurelyRefusedSteps || allocationFails;
    if (refused) {
        FUZZ_CHECK(error == tarvelin::kMemoryError);
        FUZZ_CHECK(tarvelin::LensTable.samples == nullptr);
    } else {
        FUZZ_CHECK(error == nullptr);
        FUZZ_CHECK(tarvelin::LensTable.samples != nullptr);
        FUZZ_CHECK(tarvelin::LensTable.intervalCount == 4 * static_cast<std::uint32_t>(steps));
    }

    for (int ray = 0; ray < kMostRays && !input.empty(); ++ray) {
        const double filmX = input.number();
        const double filmY = input.number();
        const double lensX = input.number();
        const double lensY = input.number();
        const double fraction = input.number();

        host::CameraRay result;
        std::memset(&result, 0x5A, sizeof result);
        host::CameraRay untouched;
        std::memset(&untouched, 0x5A, sizeof untouched);
        const int written = tarvelin::EvaluateRay(nullptr, filmX, filmY, lensX, lensY, fraction, &result);
        if (refused) {
            FUZZ_CHECK(written == 0);
            FUZZ_CHECK(std::memcmp(&result, &untouched, sizeof result) == 0);
            continue;
        }
        FUZZ_CHECK(written == 1);

        const std::uint32_t intervals = tarvelin::LensTable.intervalCount;
        const std::uint64_t index = ChosenIndex(fraction);
        FUZZ_CHECK(index <= intervals);
        if (fraction >= 0.0 && fraction <= 1.0) {
            // Sample k stands for fractions from k / N up to (k + 1) / N.
            const double position = static_cast<double>(intervals) * fraction;
            FUZZ_CHECK(index == static_cast<std::uint64_t>(std::trunc(position)));
        }
        FUZZ_CHECK(SameBits(result.forwardAxis, tarvelin::LensTable.samples[index].forwardAxis));
    }

    // The interactive view reads the same settings and camera at the current time.
    host.timeInfo.time = frame.startTime;
    double projection[4][4];
    FUZZ_CHECK(tarvelin::PreviewProjection(instance, previewLensX, previewLensY, projection, &camera) == 1);
    return 0;
}
