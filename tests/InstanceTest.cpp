// Creating, destroying, copying, describing and evaluating camera instances.

#include <cstring>

#include "module/ErrorTexts.h"
#include "tests/support/ModuleFixture.h"

namespace {

using ::testing::ElementsAre;
using testhost::InstanceFixture;
using testhost::ModuleFixture;
using tarvelin::TiltShiftInstance;

class InstanceCreation : public ModuleFixture {
protected:
    void SetUp() override { ASSERT_EQ(ActivateHandler(), host::kActivated); }

    TiltShiftInstance* Create() {
        fakeHost.clearCalls();
        return static_cast<TiltShiftInstance*>(tarvelin::CreateInstance(nullptr, fakeHost.cameraItem, &error));
    }

    const char* error = "untouched";
};

TEST_F(InstanceCreation, TakesTheCamerasZoomAndMakesFiveChannels) {
    fakeHost.timeInfo.time = 1.5;
    fakeHost.cameraZoomFactor = 3.2;

    TiltShiftInstance* instance = Create();
    ASSERT_NE(instance, nullptr);

    EXPECT_THAT(fakeHost.calls,
                ElementsAre("lookup(LW Time Info,0)", "lookup(LW Camera Info 5,0)", "zoomFactor(camera,1.5)",
                            "channelGroup",
                            "create(16,-1)", "setupChannel(#0,ZoomFactor,zeros)", "setValue(#0,3.2000000000000002)",
                            "create(32,-1)", "setupChannel(#1,HShift,zeros)", "setValue(#1,0)",
                            "create(32,-1)", "setupChannel(#2,VShift,zeros)", "setValue(#2,0)",
                            "create(64,-1)", "setupChannel(#3,TiltDirection,zeros)", "setValue(#3,0)",
                            "create(64,-1)", "setupChannel(#4,TiltAngle,zeros)", "setValue(#4,0)"));
    EXPECT_STREQ(error, "untouched");
    EXPECT_EQ(instance->zoomFactor, 3.2);
    EXPECT_EQ(instance->hShift, 0.0);
    EXPECT_EQ(instance->vShift, 0.0);
    EXPECT_EQ(instance->tiltDirection, 0.0);
    EXPECT_EQ(instance->tiltAngle, 0.0);
    EXPECT_EQ(instance->filmWidth, 0.0);
    EXPECT_EQ(instance->filmHeight, 0.0);
    EXPECT_EQ(instance->cameraItem, fakeHost.cameraItem);
    EXPECT_EQ(instance->channelGroup, fakeHost.channelGroupOf(fakeHost.cameraItem));
    EXPECT_STREQ(instance->infoText, "");

    ASSERT_EQ(fakeHost.parameters.size(), 5u);
    for (int i = 0; i < tarvelin::kSettingCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(instance->*tarvelin::kSettings[i].parameter, fakeHost.parameters[i].get());
        EXPECT_EQ(fakeHost.parameters[i]->group, instance->channelGroup);
    }
    tarvelin::DestroyInstance(instance);
}

TEST_F(InstanceCreation, FallsBackToAFixedZoomWithoutCameraService) {
    fakeHost.missingServices.insert(host::kCameraInfoName);

    TiltShiftInstance* instance = Create();
    ASSERT_NE(instance, nullptr);

    EXPECT_EQ(instance->zoomFactor, 2.6217);
    EXPECT_EQ(fakeHost.callsStartingWith("zoomFactor"), std::vector<std::string>{});
    EXPECT_THAT(fakeHost.callsStartingWith("setValue"),
                ElementsAre("setValue(#0,2.6217000000000001)", "setValue(#1,0)", "setValue(#2,0)",
                            "setValue(#3,0)", "setValue(#4,0)"));
    tarvelin::DestroyInstance(instance);
}

TEST_F(InstanceCreation, AsksForTheZoomAtTimeZeroWithoutTimeService) {
    fakeHost.missingServices.insert(host::kTimeInfoName);

    TiltShiftInstance* instance = Create();
    ASSERT_NE(instance, nullptr);

    EXPECT_THAT(fakeHost.callsStartingWith("zoomFactor"), ElementsAre("zoomFactor(camera,0)"));
    tarvelin::DestroyInstance(instance);
}

TEST_F(InstanceCreation, ReportsAllocationFailureThroughTheErrorSlot) {
    testhost::FailNextAllocations(1);

    EXPECT_EQ(Create(), nullptr);

    EXPECT_STREQ(error, "Couldn't allocate instance data.");
    EXPECT_EQ(error, tarvelin::kInstanceAllocationError);
    EXPECT_THAT(fakeHost.calls, ::testing::IsEmpty());
    EXPECT_EQ(testhost::LiveModuleBlocks(), 0);
}

class InstanceCreationWithFailingParameter : public InstanceCreation, public ::testing::WithParamInterface<int> {};

TEST_P(InstanceCreationWithFailingParameter, SucceedsWithThatHandleAbsentAndDestroysTheOthers) {
    const int failing = GetParam();
    fakeHost.failingParameterCreates.insert(fakeHost.parameterCreateCalls + failing);

    TiltShiftInstance* instance = Create();
    ASSERT_NE(instance, nullptr);
    EXPECT_STREQ(error, "untouched");

    EXPECT_EQ(fakeHost.callsStartingWith("create(").size(), 5u);
    EXPECT_EQ(fakeHost.callsStartingWith("setupChannel").size(), 4u);
    EXPECT_EQ(fakeHost.callsStartingWith("setValue").size(), 4u);
    for (int i = 0; i < tarvelin::kSettingCount; ++i) {
        EXPECT_EQ(instance->*tarvelin::kSettings[i].parameter == nullptr, i == failing) << "setting " << i;
    }

    fakeHost.clearCalls();
    tarvelin::DestroyInstance(instance);
    EXPECT_EQ(fakeHost.callsStartingWith("destroy").size(), 4u);
    EXPECT_EQ(fakeHost.liveParameterCount(), 0);
    EXPECT_EQ(testhost::LiveModuleBlocks(), 0);
}

INSTANTIATE_TEST_SUITE_P(EachSetting, InstanceCreationWithFailingParameter, ::testing::Range(0, 5),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(tarvelin::kSettings[info.param].channelName);
                         });

class Instance : public InstanceFixture {};

TEST_F(Instance, DestroyReleasesTheFiveParametersInOrderAndTheRecord) {
    tarvelin::DestroyInstance(instance);
    instance = nullptr;

    EXPECT_THAT(fakeHost.calls, ElementsAre("destroy(#0)", "destroy(#1)", "destroy(#2)", "destroy(#3)", "destroy(#4)"));
    EXPECT_EQ(fakeHost.liveParameterCount(), 0);
}

TEST_F(Instance, DescribesItselfAsOrrenCamera) {
    EXPECT_STREQ(tarvelin::DescribeInstance(instance), "OrrenCamera");
    EXPECT_STREQ(tarvelin::DescribeInstance(nullptr), "OrrenCamera");
}

TEST_F(Instance, CopyTakesSettingsFilmAndTextButKeepsItsOwnParameters) {
    const char* createError = nullptr;
    auto* source = static_cast<TiltShiftInstance*>(
        tarvelin::CreateInstance(nullptr, reinterpret_cast<host::ItemId>(0x2000), &createError));
    ASSERT_NE(source, nullptr);
    source->zoomFactor = 4.0;
    source->hShift = 0.1;
    source->vShift = -0.2;
    source->tiltDirection = 0.3;
    source->tiltAngle = -0.4;
    source->filmWidth = 0.036;
    source->filmHeight = 0.024;
    std::strcpy(source->infoText, "Focal Length 48.0mm");
    const TiltShiftInstance before = *instance;
    fakeHost.clearCalls();

    EXPECT_EQ(tarvelin::CopyInstance(instance, source), nullptr);

    EXPECT_EQ(Settings(), (std::vector<double>{4.0, 0.1, -0.2, 0.3, -0.4}));
    EXPECT_EQ(instance->filmWidth, 0.036);
    EXPECT_EQ(instance->filmHeight, 0.024);
    EXPECT_STREQ(instance->infoText, "Focal Length 48.0mm");
    for (const tarvelin::Setting& setting : tarvelin::kSettings) {
        EXPECT_EQ(instance->*setting.parameter, before.*setting.parameter) << setting.channelName;
    }
    EXPECT_EQ(instance->cameraItem, before.cameraItem);
    EXPECT_EQ(instance->channelGroup, before.channelGroup);
    EXPECT_THAT(fakeHost.calls, ::testing::IsEmpty());

    EXPECT_EQ(tarvelin::CopyInstance(instance, instance), nullptr);
    EXPECT_EQ(Settings(), (std::vector<double>{4.0, 0.1, -0.2, 0.3, -0.4}));
    tarvelin::DestroyInstance(source);
}

TEST_F(Instance, EvaluationTakesEachParametersValueAtTheTime) {
    for (std::size_t i = 0; i < fakeHost.parameters.size(); ++i) {
        fakeHost.parameters[i]->value = 1.0 + static_cast<double>(i);
        fakeHost.parameters[i]->slope = 0.5;
    }
    instance->filmWidth = 0.036;
    instance->filmHeight = 0.024;
    std::strcpy(instance->infoText, "kept");
    const TiltShiftInstance before = *instance;

    tarvelin::EvaluateSettings(instance, 2.0);

    EXPECT_THAT(fakeHost.calls, ElementsAre("value(#0,2)", "value(#1,2)", "value(#2,2)", "value(#3,2)", "value(#4,2)"));
    EXPECT_EQ(Settings(), (std::vector<double>{2.0, 3.0, 4.0, 5.0, 6.0}));
    EXPECT_EQ(instance->filmWidth, 0.036);
    EXPECT_EQ(instance->filmHeight, 0.024);
    EXPECT_STREQ(instance->infoText, "kept");
    for (const tarvelin::Setting& setting : tarvelin::kSettings) {
        EXPECT_EQ(instance->*setting.parameter, before.*setting.parameter) << setting.channelName;
    }
}

TEST_F(Instance, EvaluationLeavesASettingWithoutParameterAsItIs) {
    tarvelin::DestroyInstance(instance);
    fakeHost.failingParameterCreates.insert(fakeHost.parameterCreateCalls + 3);
    instance = static_cast<TiltShiftInstance*>(tarvelin::CreateInstance(nullptr, fakeHost.cameraItem, &error));
    ASSERT_NE(instance, nullptr);
    ASSERT_EQ(instance->tiltDirectionParam, nullptr);
    for (const auto& parameter : fakeHost.parameters) parameter->value = 7.0;
    instance->tiltDirection = 0.25;
    fakeHost.clearCalls();

    tarvelin::EvaluateSettings(instance, 1.0);

    EXPECT_EQ(fakeHost.callsStartingWith("value").size(), 4u);
    EXPECT_EQ(Settings(), (std::vector<double>{7.0, 7.0, 7.0, 0.25, 7.0}));
}

// A later activation that finds the parameter and item services missing
// stores their absence; the cameras that already exist must still be safe to
// use and to destroy.
TEST_F(Instance, CamerasSurviveAnActivationThatFindsServicesMissing) {
    fakeHost.missingServices = {host::kParameterServiceName, host::kItemInfoName};
    ASSERT_EQ(ActivateHandler(), host::kServiceMissing);
    instance->zoomFactor = 2.0;

    tarvelin::EvaluateSettings(instance, 1.0);
    EXPECT_EQ(instance->zoomFactor, 2.0);

    testhost::FloatStream stream;
    const host::SaveState saveState = stream.saveState();
    EXPECT_EQ(tarvelin::SaveInstance(instance, &saveState), tarvelin::kInstanceAllocationError);
    const host::LoadState loadState = stream.loadState();
    EXPECT_EQ(tarvelin::LoadInstance(instance, &loadState), tarvelin::kInstanceAllocationError);
    EXPECT_TRUE(stream.floats.empty());

    host::CameraAccess camera{};
    camera.cameraItem = fakeHost.cameraItem;
    camera.filmWidth = 0.036;
    camera.filmHeight = 0.024;
    host::FrameSetup frame{};
    ASSERT_EQ(handler.setupFrame(instance, &frame, &camera), nullptr);
    host::CameraRay ray{};
    ASSERT_EQ(handler.evaluateRay(instance, 0.0, 0.0, 0.0, 0.0, 0.0, &ray), 1);
    EXPECT_THAT(ray.direction, ElementsAre(0.0, 0.0, 1.0)) << "an unturned camera at the origin";

    auto* another = static_cast<TiltShiftInstance*>(tarvelin::CreateInstance(nullptr, fakeHost.cameraItem, &error));
    ASSERT_NE(another, nullptr);
    EXPECT_EQ(another->zoomParam, nullptr);
    EXPECT_EQ(another->channelGroup, nullptr);
    tarvelin::DestroyInstance(another);
    EXPECT_THAT(fakeHost.callsStartingWith("destroy"), ::testing::IsEmpty());
}

}  // namespace
