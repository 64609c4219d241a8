// The per-frame set-up and the ray evaluation, through the operations the
// camera handler's activation installs.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "lens/LensOperations.h"
#include "module/ErrorTexts.h"
#include "tests/support/ModuleFixture.h"
#include "tests/support/VectorMath.h"

namespace {

using ::testing::ElementsAre;
using testhost::FromArray;
using testhost::InstanceFixture;
using tarvelin::Vector3d;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

class FrameSetup : public InstanceFixture {
protected:
    void SetUp() override {
        InstanceFixture::SetUp();
        camera.cameraItem = fakeHost.cameraItem;
        camera.filmWidth = 0.03;
        camera.filmHeight = 0.02;
        // The worked case: zoom 2, shifts 0.5 and 0.25, focus 2 at f/4, at (10, 1, −3).
        SetParameterValues({2.0, 0.5, 0.25, 0.0, 0.0});
        fakeHost.camera.position = {10, 1, -3};
        fakeHost.camera.focusDistance = 2.0;
        fakeHost.camera.fStop = 4.0;
    }

    const char* Setup(std::int32_t motionSteps, double startTime = 0.0, double duration = 0.0,
                      void* forInstance = nullptr) {
        host::FrameSetup frame{};
        frame.frame = 7;
        frame.startTime = startTime;
        frame.duration = duration;
        frame.hostValue = 99.0;
        frame.motionSteps = motionSteps;
        return handler.setupFrame(forInstance != nullptr ? forInstance : instance, &frame, &camera);
    }

    host::CameraRay Ray(double filmX, double filmY, double lensX = 0.0, double lensY = 0.0, double fraction = 0.0,
                        void* forInstance = nullptr) {
        host::CameraRay ray{};
        EXPECT_EQ(handler.evaluateRay(forInstance != nullptr ? forInstance : instance, filmX, filmY, lensX, lensY,
                                      fraction, &ray),
                  1);
        return ray;
    }

    host::CameraAccess camera{};
};

TEST_F(FrameSetup, AsksTheHostForEachSampleTimeInOrder) {
    // The queries name the camera of the access record, not the instance's.
    instance->cameraItem = reinterpret_cast<host::ItemId>(0x2000);

    ASSERT_EQ(Setup(1, 1.0, 0.5), nullptr);

    std::vector<std::string> expected;
    for (const char* t : {"1", "1.125", "1.25", "1.375", "1.5"}) {
        for (int p = 0; p < 5; ++p) expected.push_back("value(#" + std::to_string(p) + "," + t + ")");
        for (const char* query : {"focusDistance(camera,", "fStop(camera,", "itemVector(camera,8,",
                                  "itemVector(camera,2,", "itemVector(camera,3,", "itemVector(camera,4,"}) {
            expected.push_back(query + std::string(t) + ")");
        }
    }
    EXPECT_EQ(fakeHost.calls, expected);
    EXPECT_EQ(tarvelin::LensTable.intervalCount, 4u);
    EXPECT_EQ(tarvelin::LensTable.startTime, 1.0);
    EXPECT_EQ(tarvelin::LensTable.duration, 0.5);
}

TEST_F(FrameSetup, NoMotionStepsTakesOneSampleAtTheStartTime) {
    ASSERT_EQ(Setup(0, 2.25, 0.5), nullptr);
    EXPECT_EQ(fakeHost.callsStartingWith("fStop"), std::vector<std::string>{"fStop(camera,2.25)"});
    EXPECT_EQ(tarvelin::LensTable.intervalCount, 0u);
}

TEST_F(FrameSetup, LeavesTheLastSamplesSettingsAndFilmSizeInTheInstance) {
    fakeHost.parameter(instance->hShiftParam).slope = 1.0;
    ASSERT_EQ(Setup(1, 1.0, 0.5), nullptr);
    EXPECT_EQ(instance->hShift, 0.5 + 1.5);
    EXPECT_EQ(instance->zoomFactor, 2.0);
    EXPECT_EQ(instance->filmWidth, 0.03);
    EXPECT_EQ(instance->filmHeight, 0.02);
}

struct RayCase {
    const char* name;
    double filmX, filmY, lensX, lensY;
    Vector3d origin;
    Vector3d direction;  // before normalisation
};

TEST_F(FrameSetup, WorkedCaseRays) {
    ASSERT_EQ(Setup(0), nullptr);
    const RayCase cases[] = {
        {"centre", 0, 0, 0, 0, {10, 1, -3}, {1.5, 0.5, 2}},
        {"shifted onto the axis", -0.015, -0.005, 0, 0, {10, 1, -3}, {0, 0, 1}},
        {"off-centre lens point", -0.015, -0.005, 0.5, -1, {10.00125, 0.9975, -3}, {-0.00125, 0.0025, 2}},
    };
    for (const RayCase& c : cases) {
        SCOPED_TRACE(c.name);
        const host::CameraRay ray = Ray(c.filmX, c.filmY, c.lensX, c.lensY);
        const Vector3d direction = testhost::Scale(c.direction, 1 / testhost::Length(c.direction));
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(ray.origin[i], (&c.origin.x)[i], 1e-15) << "origin " << i;
            EXPECT_NEAR(ray.direction[i], (&direction.x)[i], 1e-15) << "direction " << i;
        }
        EXPECT_THAT(ray.forwardAxis, ElementsAre(0.0, 0.0, 1.0));
    }
    // The shift puts this film point exactly on the optical axis.
    EXPECT_THAT(Ray(-0.015, -0.005).direction, ElementsAre(0.0, 0.0, 1.0));
}

TEST_F(FrameSetup, EveryLensPointsRayPassesThroughTheFilmPointsPointOfSharpFocus) {
    ASSERT_EQ(Setup(0), nullptr);
    for (auto [lensX, lensY] : {std::pair{0.0, 0.0}, std::pair{1.0, 0.0}, std::pair{-0.3, 0.9}}) {
        const host::CameraRay ray = Ray(0.01, 0, lensX, lensY);
        EXPECT_NEAR(testhost::DistanceFromRay({12.5, 1.5, -1}, FromArray(ray.origin), FromArray(ray.direction)), 0.0,
                    1e-13)
            << "lens point " << lensX << ", " << lensY;
    }
}

// Sample i of motion steps 1 sits at start + (duration / 4) × i; the camera
// moves 1 along x per second, so a ray's origin tells which sample it took.
TEST_F(FrameSetup, FractionSelectsTheSampleWithoutInterpolation) {
    fakeHost.camera.velocity = {1, 0, 0};
    ASSERT_EQ(Setup(1, 0.0, 4.0), nullptr);
    struct Case {
        double fraction;
        double sample;
    };
    for (const Case& c : {Case{0, 0}, Case{0.2499, 0}, Case{0.25, 1}, Case{0.5, 2}, Case{0.999, 3}, Case{1, 4},
                          // Outside the interval: held to the nearest end, never outside the table.
                          Case{-0.5, 0}, Case{1.5, 4}, Case{kInfinity, 4}, Case{-kInfinity, 0}, Case{kNaN, 0},
                          Case{1e300, 4}}) {
        EXPECT_EQ(Ray(0, 0, 0, 0, c.fraction).origin[0], 10.0 + c.sample) << "fraction " << c.fraction;
    }
}

TEST_F(FrameSetup, NoMotionStepsServesEveryFractionFromTheOneSample) {
    fakeHost.camera.velocity = {1, 0, 0};
    ASSERT_EQ(Setup(0, 3.0, 4.0), nullptr);
    for (double fraction : {0.0, 0.5, 1.0, kNaN, kInfinity, -1.0}) {
        EXPECT_EQ(Ray(0, 0, 0, 0, fraction).origin[0], 13.0) << "fraction " << fraction;
    }
}

TEST_F(FrameSetup, RaysFollowAnimatedSettingsAcrossTheShutter) {
    // The horizontal shift runs from 0.5 at the start to 1.5 at the end.
    fakeHost.parameter(instance->hShiftParam).slope = 1.0;
    ASSERT_EQ(Setup(1, 0.0, 1.0), nullptr);
    const host::CameraRay start = Ray(-0.015, -0.005, 0, 0, 0.0);
    const host::CameraRay end = Ray(-0.015, -0.005, 0, 0, 1.0);
    EXPECT_THAT(start.direction, ElementsAre(0.0, 0.0, 1.0));
    // At the end the shift is 0.045 on the film: 4.5 across the focus plane at depth 2.
    const Vector3d expected = testhost::Scale({3.0, 0, 2}, 1 / std::sqrt(13.0));
    EXPECT_NEAR(end.direction[0], expected.x, 1e-15);
    EXPECT_NEAR(end.direction[2], expected.z, 1e-15);
}

TEST_F(FrameSetup, NoTableLeavesTheRayUntouched) {
    host::CameraRay ray;
    std::memset(&ray, 0x5A, sizeof ray);
    const host::CameraRay before = ray;
    EXPECT_EQ(handler.evaluateRay(instance, 0, 0, 0, 0, 0.5, &ray), 0);
    EXPECT_EQ(std::memcmp(&ray, &before, sizeof ray), 0);
}

TEST_F(FrameSetup, FailedAllocationLeavesNoTableUntilTheNextFrame) {
    ASSERT_EQ(Setup(1), nullptr);
    const int blocksWithTable = testhost::LiveModuleBlocks();
    testhost::FailNextAllocations(1);
    EXPECT_STREQ(Setup(2), tarvelin::kMemoryError);
    EXPECT_EQ(tarvelin::LensTable.samples, nullptr);
    EXPECT_EQ(tarvelin::LensTable.intervalCount, 8u);
    EXPECT_EQ(testhost::LiveModuleBlocks(), blocksWithTable - 1) << "the previous frame's table is released";
    host::CameraRay ray{};
    EXPECT_EQ(handler.evaluateRay(instance, 0, 0, 0, 0, 0.5, &ray), 0);

    ASSERT_EQ(Setup(0), nullptr);
    EXPECT_THAT(Ray(-0.015, -0.005).direction, ElementsAre(0.0, 0.0, 1.0));
}

// Steps that are negative, or whose interval count or table size would not fit
// in 32 bits, are refused before any allocation is attempted.
TEST_F(FrameSetup, RefusesStepCountsOutsideTheTablesLimits) {
    for (std::int32_t steps : {-1, -2147483647 - 1, 2147483647, 0x40000000, 5835554}) {
        SCOPED_TRACE(steps);
        ASSERT_EQ(Setup(0), nullptr);
        fakeHost.clearCalls();
        const int requests = testhost::AllocationRequests();
        const int blocksWithTable = testhost::LiveModuleBlocks();

        EXPECT_STREQ(Setup(steps), tarvelin::kMemoryError);
        EXPECT_EQ(testhost::AllocationRequests(), requests);
        EXPECT_EQ(tarvelin::LensTable.samples, nullptr);
        EXPECT_EQ(testhost::LiveModuleBlocks(), blocksWithTable - 1);
        EXPECT_THAT(fakeHost.calls, ::testing::IsEmpty());
        host::CameraRay ray{};
        EXPECT_EQ(handler.evaluateRay(instance, 0, 0, 0, 0, 1.0, &ray), 0);
    }
}

TEST_F(FrameSetup, TheLargestStepCountWithinTheLimitsIsAskedFor) {
    const int requests = testhost::AllocationRequests();
    testhost::FailNextAllocations(1);  // 4.3 GB: answered as the host's heap would
    EXPECT_STREQ(Setup(5835553), tarvelin::kMemoryError);
    EXPECT_EQ(testhost::AllocationRequests(), requests + 1);
    EXPECT_EQ(tarvelin::LensTable.intervalCount, 4u * 5835553u);
}

TEST_F(FrameSetup, TheLatestFrameDecidesTheRaysOfEveryInstance) {
    auto* second = static_cast<tarvelin::TiltShiftInstance*>(operations.create(nullptr, fakeHost.cameraItem, &error));
    ASSERT_NE(second, nullptr);
    fakeHost.parameter(second->hShiftParam).value = 0.0;
    fakeHost.parameter(second->vShiftParam).value = 0.0;
    fakeHost.parameter(second->zoomParam).value = 2.0;

    ASSERT_EQ(Setup(0), nullptr);
    ASSERT_EQ(Setup(0, 0.0, 0.0, second), nullptr);
    for (void* asking : {static_cast<void*>(instance), static_cast<void*>(second), static_cast<void*>(nullptr)}) {
        host::CameraRay ray{};
        ASSERT_EQ(handler.evaluateRay(asking, 0, 0, 0, 0, 0.0, &ray), 1);
        EXPECT_THAT(ray.direction, ElementsAre(0.0, 0.0, 1.0)) << "the second camera has no shift";
    }
    operations.destroy(second);
}

// Without a camera service the lens is a pinhole focused at one metre: every
// lens point gives the same ray, which is still the right one for its film point.
TEST_F(FrameSetup, WithoutCameraServiceTheLensIsAPinhole) {
    tarvelin::HostServices.cameraInfo = nullptr;
    ASSERT_EQ(Setup(0), nullptr);
    EXPECT_THAT(fakeHost.callsStartingWith("focusDistance"), ::testing::IsEmpty());
    const host::CameraRay centre = Ray(0.01, 0.0);
    for (auto [lensX, lensY] : {std::pair{1.0, 0.0}, std::pair{-0.5, 0.5}}) {
        const host::CameraRay ray = Ray(0.01, 0.0, lensX, lensY);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(ray.origin[i], centre.origin[i]);
            EXPECT_EQ(ray.direction[i], centre.direction[i]);
        }
    }
    // Film point (0.01, 0) lies 0.025 right and 0.005 up on a film 0.02 from the lens.
    const Vector3d expected = testhost::Scale({0.025, 0.005, 0.02}, 1 / testhost::Length({0.025, 0.005, 0.02}));
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(centre.direction[i], (&expected.x)[i], 1e-15);
}

}  // namespace
