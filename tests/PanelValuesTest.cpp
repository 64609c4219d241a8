// Value exchange between the panel and the camera instance: parameter
// handles, edited settings, and the focal-length line.

#include <cmath>
#include <cstring>
#include <limits>

#include "panel/PanelIds.h"
#include "panel/PanelValues.h"
#include "tests/support/PanelFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using tarvelin::TiltShiftInstance;
using testhost::PanelFixture;

struct SettingControlCase {
    host::PanelId id;
    const char* name;
    host::ParameterHandle TiltShiftInstance::*parameter;
    double TiltShiftInstance::*value;
};

const SettingControlCase kSettingControls[] = {
    {tarvelin::CTL_ZOOM, "CTL_ZOOM", &TiltShiftInstance::zoomParam, &TiltShiftInstance::zoomFactor},
    {tarvelin::CTL_HSHIFT, "CTL_HSHIFT", &TiltShiftInstance::hShiftParam, &TiltShiftInstance::hShift},
    {tarvelin::CTL_VSHIFT, "CTL_VSHIFT", &TiltShiftInstance::vShiftParam, &TiltShiftInstance::vShift},
    {tarvelin::CTL_TILT_DIRECTION, "CTL_TILT_DIRECTION", &TiltShiftInstance::tiltDirectionParam,
     &TiltShiftInstance::tiltDirection},
    {tarvelin::CTL_TILT_ANGLE, "CTL_TILT_ANGLE", &TiltShiftInstance::tiltAngleParam, &TiltShiftInstance::tiltAngle},
};

// Ids that carry no setting: the info line, the diagram, groups, strangers.
const host::PanelId kIdsWithoutSetting[] = {tarvelin::CTL_INFO, tarvelin::CTL_DIAGRAM, 0x8000, 0x800C,
                                            tarvelin::GRP_ZOOM, tarvelin::GRP_DIAGRAM, 0, 0xFFFFFFFF};

class PanelValues : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        fakePanel.InstallInstanceUpdate();
        ASSERT_EQ(ActivateInterface(), host::kActivated);
        fakeHost.clearCalls();
    }

    // A byte copy of the instance, to show what an operation changed.
    TiltShiftInstance Snapshot() const {
        TiltShiftInstance copy;
        std::memcpy(&copy, instance, sizeof copy);
        return copy;
    }
    static bool SameBytes(const TiltShiftInstance& a, const TiltShiftInstance& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }

    testhost::FakeParameter& ZoomParameter() { return fakeHost.parameter(instance->zoomParam); }
};

TEST_F(PanelValues, GetAnswersEachSettingsOwnParameterHandle) {
    std::set<void*> handles;
    for (const SettingControlCase& control : kSettingControls) {
        SCOPED_TRACE(control.name);
        void* handle = tarvelin::GetPanelValue(instance, control.id);
        EXPECT_EQ(handle, instance->*control.parameter);
        handles.insert(handle);
    }
    EXPECT_EQ(handles.size(), 5u);
    EXPECT_EQ(handles.count(nullptr), 0u);
    EXPECT_THAT(fakeHost.calls, IsEmpty());
}

TEST_F(PanelValues, GetAnswersNullForIdsWithoutAValue) {
    const TiltShiftInstance before = Snapshot();
    for (host::PanelId id : {host::PanelId{0x8000}, tarvelin::CTL_DIAGRAM, host::PanelId{0x800C}, tarvelin::GRP_ZOOM,
                             tarvelin::GRP_DIAGRAM, host::PanelId{0}}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(tarvelin::GetPanelValue(instance, id), nullptr);
    }
    EXPECT_TRUE(SameBytes(Snapshot(), before));
    EXPECT_THAT(fakeHost.calls, IsEmpty());
}

// With and without the host's "Instance Update".
class PanelValueEdits : public PanelValues, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        PanelValues::SetUp();
        notifies = GetParam();
        if (!notifies) tarvelin::HostServices.instanceUpdate = nullptr;
    }
    bool notifies = true;
};

TEST_P(PanelValueEdits, SetStoresIntoTheWorkingCopyOnlyAndNotifies) {
    for (const SettingControlCase& control : kSettingControls) {
        SCOPED_TRACE(control.name);
        fakeHost.clearCalls();
        fakePanel.updatedInstances.clear();
        const double parameterValue = fakeHost.parameter(instance->*control.parameter).value;
        TiltShiftInstance expected = Snapshot();
        expected.*control.value = 0.5;
        double edited = 0.5;

        EXPECT_EQ(tarvelin::SetPanelValue(instance, control.id, &edited), 1);

        EXPECT_TRUE(SameBytes(Snapshot(), expected));
        // The animated parameter is the host's to edit, through its handle.
        EXPECT_EQ(fakeHost.parameter(instance->*control.parameter).value, parameterValue);
        if (notifies) {
            EXPECT_THAT(fakeHost.calls, ElementsAre("instanceUpdate(CameraHandler)"));
            EXPECT_THAT(fakePanel.updatedInstances, ElementsAre(instance));
        } else {
            EXPECT_THAT(fakeHost.calls, IsEmpty());
        }
    }
}

TEST_P(PanelValueEdits, SetIgnoresIdsWithoutASetting) {
    const TiltShiftInstance before = Snapshot();
    double edited = 0.5;
    for (host::PanelId id : kIdsWithoutSetting) {
        SCOPED_TRACE(id);
        EXPECT_EQ(tarvelin::SetPanelValue(instance, id, &edited), 0);
    }
    EXPECT_TRUE(SameBytes(Snapshot(), before));
    EXPECT_THAT(fakeHost.calls, IsEmpty());
    EXPECT_THAT(fakePanel.updatedInstances, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(InstanceUpdate, PanelValueEdits, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Present" : "Missing";
                         });

// The focal-length line.

TEST_F(PanelValues, FocalLengthLineTakesTheZoomAtTheCurrentTime) {
    fakeHost.timeInfo.time = 2.0;
    ZoomParameter().value = 1.0;
    ZoomParameter().slope = 0.5;  // 2 at the current time
    instance->zoomFactor = 9.0;   // the working copy is not what the line shows
    instance->filmHeight = 0.036;

    const auto* line = static_cast<const char*>(tarvelin::GetPanelValue(instance, tarvelin::CTL_INFO));

    EXPECT_EQ(line, instance->infoText);
    EXPECT_STREQ(instance->infoText, "Focal Length 36.0mm");
    EXPECT_THAT(fakeHost.calls, ElementsAre("lookup(LW Time Info,0)", "value(#0,2)"));
}

TEST_F(PanelValues, FocalLengthLineIsRewrittenIntoTheSameBufferAtEveryCall) {
    ZoomParameter().value = 2.0;
    const void* first = tarvelin::GetPanelValue(instance, tarvelin::CTL_INFO);
    // Before a preview or a frame set-up the film height is still zero.
    EXPECT_STREQ(instance->infoText, "Focal Length 0.0mm");

    instance->filmHeight = 0.036;
    const void* second = tarvelin::GetPanelValue(instance, tarvelin::CTL_INFO);

    EXPECT_EQ(first, second);
    EXPECT_STREQ(instance->infoText, "Focal Length 36.0mm");
    EXPECT_EQ(fakeHost.callsStartingWith("lookup(LW Time Info").size(), 2u);
}

TEST_F(PanelValues, FocalLengthLineWithoutTimeServiceTakesTimeZero) {
    fakeHost.missingServices.insert(host::kTimeInfoName);
    fakeHost.timeInfo.time = 2.0;
    ZoomParameter().value = 1.0;
    ZoomParameter().slope = 0.5;
    instance->filmHeight = 0.036;

    EXPECT_EQ(tarvelin::GetPanelValue(instance, tarvelin::CTL_INFO), instance->infoText);

    EXPECT_STREQ(instance->infoText, "Focal Length 18.0mm");
    EXPECT_THAT(fakeHost.calls, ElementsAre("lookup(LW Time Info,0)", "value(#0,0)"));
}

// No animated zoom to ask (the host could not make it, or the parameter
// service was lost to a later failed activation): the working copy stands.
TEST_F(PanelValues, FocalLengthLineWithoutZoomParameterShowsTheWorkingCopy) {
    ZoomParameter().value = 2.0;
    instance->zoomFactor = 3.0;
    instance->filmHeight = 0.036;

    host::ParameterHandle zoomParam = instance->zoomParam;
    instance->zoomParam = nullptr;
    tarvelin::GetPanelValue(instance, tarvelin::CTL_INFO);
    instance->zoomParam = zoomParam;
    EXPECT_STREQ(instance->infoText, "Focal Length 54.0mm");

    const host::ParameterService* parameterService = tarvelin::HostServices.parameterService;
    tarvelin::HostServices.parameterService = nullptr;
    tarvelin::GetPanelValue(instance, tarvelin::CTL_INFO);
    tarvelin::HostServices.parameterService = parameterService;  // the instance is destroyed through it
    EXPECT_STREQ(instance->infoText, "Focal Length 54.0mm");
    EXPECT_THAT(fakeHost.callsStartingWith("value("), IsEmpty());
}

struct FocalLengthCase {
    const char* name;
    double zoom;
    double filmHeight;
    const char* line;
    friend void PrintTo(const FocalLengthCase& given, std::ostream* out) { *out << given.name; }
};

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Zoom that, on a film 1 m high, gives the largest focal length below 10^20 mm:
// 99999999999999983616 mm.
constexpr double kLargestShownZoom = 1.9999999999999997e17;

const FocalLengthCase kFocalLengthCases[] = {
    {"Ordinary", 2.0, 0.036, "Focal Length 36.0mm"},
    {"RoundsToOneDigit", 2.0, 0.03604, "Focal Length 36.0mm"},
    {"Negative", -2.0, 0.036, "Focal Length -36.0mm"},
    {"LargestBelowTenToTheTwenty", kLargestShownZoom, 1.0, "Focal Length 99999999999999983616.0mm"},
    {"MostNegativeAboveMinusTenToTheTwenty", -kLargestShownZoom, 1.0, "Focal Length -99999999999999983616.0mm"},
    {"TenToTheTwenty", 2e17, 1.0, "Focal Length out of range"},
    {"Huge", 1e300, 1.0, "Focal Length out of range"},
    {"HugeNegative", -1e300, 1.0, "Focal Length out of range"},
    {"Infinite", kInfinity, 0.036, "Focal Length out of range"},
    {"MinusInfinite", -kInfinity, 0.036, "Focal Length out of range"},
    {"NaN", kNaN, 0.036, "Focal Length undefined"},
    {"InfiniteZoomOnNoFilm", kInfinity, 0.0, "Focal Length undefined"},
};

class FocalLengthLine : public PanelValues, public ::testing::WithParamInterface<FocalLengthCase> {};

TEST_P(FocalLengthLine, StaysWithinInfoText) {
    const FocalLengthCase& given = GetParam();
    ZoomParameter().value = given.zoom;
    // Bytes right after the instance, which a long line would overwrite.
    struct GuardedInstance {
        TiltShiftInstance instance;
        unsigned char guard[64];
    } guarded;
    std::memcpy(&guarded.instance, instance, sizeof *instance);
    guarded.instance.filmHeight = given.filmHeight;
    std::memset(guarded.instance.infoText, '#', sizeof guarded.instance.infoText);
    std::memset(guarded.guard, 0xA5, sizeof guarded.guard);

    EXPECT_EQ(tarvelin::GetPanelValue(&guarded.instance, tarvelin::CTL_INFO), guarded.instance.infoText);

    for (unsigned char byte : guarded.guard) ASSERT_EQ(byte, 0xA5);
    ASSERT_NE(std::memchr(guarded.instance.infoText, '\0', sizeof guarded.instance.infoText), nullptr);
    EXPECT_STREQ(guarded.instance.infoText, given.line);
}

INSTANTIATE_TEST_SUITE_P(Values, FocalLengthLine, ::testing::ValuesIn(kFocalLengthCases),
                         [](const ::testing::TestParamInfo<FocalLengthCase>& info) { return info.param.name; });

}  // namespace
