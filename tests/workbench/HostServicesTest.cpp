// The host services as a module reaches them: through the session's global
// lookup and plain function pointers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/CameraRecords.h"
#include "workbench/Errors.h"
#include "workbench/FloatStream.h"
#include "workbench/HostSession.h"
#include "workbench/ParameterBlock.h"

namespace {

using namespace workbench;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr double kQuarterTurn = std::numbers::pi / 2.0;

template <typename Service>
const Service& Lookup(const char* name) {
    const void* service = HostSession::lookup()(name, host::kLookupMode);
    if (service == nullptr) throw std::runtime_error(std::string("no service ") + name);
    return *static_cast<const Service*>(service);
}

class HostServices : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_THAT(session.faults(), IsEmpty()); }

    Vector3 ItemVector(const CameraItem& item, int code, double time) {
        Vector3 out{};
        itemInfo.itemVector(HostSession::idOf(item), code, time, out.data());
        return out;
    }

    HostSession session;
    CameraItem& camera = session.addCamera("Camera");
    const host::ItemInfoService& itemInfo = Lookup<host::ItemInfoService>(host::kItemInfoName);
    const host::CameraInfoService& cameraInfo = Lookup<host::CameraInfoService>(host::kCameraInfoName);
    const host::ParameterService& parameters = Lookup<host::ParameterService>(host::kParameterServiceName);
};

void ExpectVector(const Vector3& actual, const Vector3& expected, const std::string& context) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-12) << context << " component " << i;
}

TEST_F(HostServices, TimeInfoIsTheSessionsCurrentTime) {
    const auto& time = Lookup<host::TimeInfo>(host::kTimeInfoName);
    session.setTime(1.25);
    EXPECT_EQ(time.time, 1.25);
}

TEST_F(HostServices, ItemAxesFollowTheHostsRotationConvention) {
    struct Case {
        const char* name;
        double heading, pitch, bank;
        Vector3 right, up, forward;
    };
    const double h = std::sqrt(0.5);
    const Case cases[] = {
        {"no rotation", 0, 0, 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"heading turns forward toward +X", kQuarterTurn, 0, 0, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
        {"pitch tips forward down", 0, kQuarterTurn, 0, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
        {"bank lifts the right axis", 0, 0, kQuarterTurn, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}},
        // Pitch is about the item's own X, after the heading has turned it.
        {"heading then pitch", kQuarterTurn, kQuarterTurn, 0, {0, 0, -1}, {1, 0, 0}, {0, -1, 0}},
        // Bank is applied first, about the item's own Z.
        {"bank then heading", kQuarterTurn, 0, kQuarterTurn, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {"half a quarter of heading", kQuarterTurn / 2, 0, 0, {h, 0, -h}, {0, 1, 0}, {h, 0, h}},
    };
    for (const Case& c : cases) {
        camera.rotation = {Envelope(c.heading), Envelope(c.pitch), Envelope(c.bank)};
        ExpectVector(ItemVector(camera, host::kItemRightAxis, 0.0), c.right, std::string(c.name) + ", right");
        ExpectVector(ItemVector(camera, host::kItemUpAxis, 0.0), c.up, std::string(c.name) + ", up");
        ExpectVector(ItemVector(camera, host::kItemForwardAxis, 0.0), c.forward, std::string(c.name) + ", forward");
    }
}

TEST_F(HostServices, AxesStayAnOrthonormalLeftHandedFrame) {
    int checked = 0;
    for (double heading : {-2.0, 0.3, 1.7}) {
        for (double pitch : {-0.9, 0.4}) {
            for (double bank : {-1.1, 0.0, 2.5}) {
                const Axes axes = AxesFromRotation(heading, pitch, bank);
                const Vector3& r = axes.right;
                const Vector3& u = axes.up;
                // right × up = forward in a left-handed frame with these names.
                const Vector3 cross = {r[1] * u[2] - r[2] * u[1], r[2] * u[0] - r[0] * u[2], r[0] * u[1] - r[1] * u[0]};
                ExpectVector(cross, axes.forward, "right × up");
                EXPECT_NEAR(r[0] * u[0] + r[1] * u[1] + r[2] * u[2], 0.0, 1e-12);
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 18);
}

TEST_F(HostServices, KeyedMotionIsAnsweredAtAnyTime) {
    camera.position = {Envelope(0.0, {{0.0, 1.0, Interpolation::Linear}, {2.0, 5.0}}), Envelope(1.5),
                       Envelope(0.0, {{1.0, -3.0}})};
    camera.rotation[0] = Envelope(0.0, {{0.0, 0.0, Interpolation::Linear}, {1.0, kQuarterTurn}});
    camera.zoomFactor = Envelope(0.0, {{0.0, 2.0, Interpolation::Linear}, {1.0, 4.0}});
    camera.focusDistance = Envelope(0.0, {{0.0, 1.0, Interpolation::Linear}, {1.0, 3.0}});
    camera.fStop = Envelope(5.6);

    ExpectVector(ItemVector(camera, host::kItemWorldPosition, 0.5), {2.0, 1.5, -3.0}, "position at 0.5 s");
    ExpectVector(ItemVector(camera, host::kItemWorldPosition, 4.0), {5.0, 1.5, -3.0}, "position after the keys");
    ExpectVector(ItemVector(camera, host::kItemForwardAxis, 1.0), {1.0, 0.0, 0.0}, "forward at 1 s");
    const double half = std::sqrt(0.5);
    ExpectVector(ItemVector(camera, host::kItemForwardAxis, 0.5), {half, 0.0, half}, "forward at 0.5 s");

    const host::ItemId id = HostSession::idOf(camera);
    EXPECT_DOUBLE_EQ(cameraInfo.zoomFactor(id, 0.25), 2.5);
    EXPECT_DOUBLE_EQ(cameraInfo.focusDistance(id, 0.75), 2.5);
    EXPECT_DOUBLE_EQ(cameraInfo.fStop(id, 3.0), 5.6);
}

TEST_F(HostServices, EachItemHasItsOwnChannelGroup) {
    CameraItem& other = session.addCamera("Other");
    EXPECT_EQ(itemInfo.channelGroup(HostSession::idOf(camera)), camera.channels);
    EXPECT_EQ(itemInfo.channelGroup(HostSession::idOf(other)), other.channels);
    EXPECT_NE(camera.channels, other.channels);
    EXPECT_EQ(session.findChannelGroup("Other"), other.channels);
    EXPECT_THROW(session.addCamera("Other"), SessionError);
}

TEST_F(HostServices, ParametersBecomeNamedChannelsOfTheGroup) {
    host::ParameterHandle zoom = parameters.create(host::kParameterNumber, host::kNoTexture);
    host::ParameterHandle tilt = parameters.create(host::kParameterAngle, host::kNoTexture);
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(parameters.setupChannel(zoom, "ZoomFactor", camera.channels, nullptr, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(parameters.setupChannel(tilt, "TiltAngle", camera.channels, nullptr, nullptr, nullptr, nullptr), 1);

    Parameter* found = HostSession::findChannel(*camera.channels, "TiltAngle");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(HostSession::handleOf(*found), tilt);
    EXPECT_EQ(found->type, host::kParameterAngle);
    EXPECT_EQ(session.liveParameterCount(), 2u);

    parameters.destroy(zoom);
    EXPECT_EQ(HostSession::findChannel(*camera.channels, "ZoomFactor"), nullptr);
    EXPECT_EQ(camera.channels->channels.size(), 1u);
    parameters.destroy(tilt);
    EXPECT_EQ(session.liveParameterCount(), 0u);
}

TEST_F(HostServices, SetValueSetsTheConstantOrAKeyAtTheCurrentTime) {
    host::ParameterHandle handle = parameters.create(host::kParameterPercent, host::kNoTexture);
    Parameter& parameter = *session.findParameter(handle);
    double result[3] = {};

    const double value = 0.25;
    EXPECT_EQ(parameters.setValue(handle, &value), 1);
    parameters.value(handle, 9.0, nullptr, result);
    EXPECT_EQ(result[0], 0.25);
    EXPECT_FALSE(parameter.envelope.animated());

    parameter.envelope = Envelope(0.0, {{0.0, 0.0, Interpolation::Linear}, {2.0, 1.0}});
    session.setTime(1.0);
    const double edited = 0.75;
    parameters.setValue(handle, &edited);
    EXPECT_EQ(parameter.envelope.keys().size(), 3u);
    parameters.value(handle, 1.0, nullptr, result);
    EXPECT_EQ(result[0], 0.75);
    parameters.value(handle, 0.0, nullptr, result);
    EXPECT_EQ(result[0], 0.0);  // the other keys are kept
    parameters.destroy(handle);
}

TEST_F(HostServices, ParameterBlocksSaveAndLoadThroughTheSceneStream) {
    host::ParameterHandle source = parameters.create(host::kParameterAngle, host::kNoTexture);
    session.findParameter(source)->envelope =
        Envelope(0.1, {{0.0, 0.2, Interpolation::Stepped}, {1.0 / 3.0, std::numeric_limits<double>::quiet_NaN()}});
    FloatStream stream;
    const host::SaveState saveState = stream.saveState();
    EXPECT_EQ(parameters.save(source, &saveState), nullptr);
    EXPECT_EQ(parameters.save(source, &saveState), nullptr);

    host::ParameterHandle target = parameters.create(host::kParameterAngle, host::kNoTexture);
    const host::LoadState loadState = stream.loadState();
    EXPECT_EQ(parameters.load(target, &loadState), nullptr);
    const Envelope& loaded = session.findParameter(target)->envelope;
    EXPECT_EQ(loaded.constant(), 0.1);
    ASSERT_EQ(loaded.keys().size(), 2u);
    EXPECT_EQ(loaded.keys()[0], (Key{0.0, 0.2, Interpolation::Stepped}));
    EXPECT_TRUE(std::isnan(loaded.keys()[1].value));

    // The second copy is read into a parameter of another kind: refused, unchanged.
    host::ParameterHandle percent = parameters.create(host::kParameterPercent, host::kNoTexture);
    EXPECT_STREQ(parameters.load(percent, &loadState), "Parameter block is for another kind of parameter");
    EXPECT_FALSE(session.findParameter(percent)->envelope.animated());

    // The stream is used up: the next load is cut short and changes nothing.
    EXPECT_STREQ(parameters.load(target, &loadState), kBlockCutShort);
    EXPECT_EQ(session.findParameter(target)->envelope.keys().size(), 2u);
    for (host::ParameterHandle handle : {source, target, percent}) parameters.destroy(handle);
}

TEST_F(HostServices, HandlesTheHostNeverMadeAreFaultsNotCrashes) {
    int notAParameter = 0;
    double result[3] = {7.0, 7.0, 7.0};
    parameters.value(&notAParameter, 0.0, nullptr, result);
    EXPECT_EQ(result[0], 0.0);
    EXPECT_EQ(itemInfo.channelGroup(&notAParameter), nullptr);
    EXPECT_EQ(session.faults().size(), 2u);
    session.clearFaults();
}

TEST_F(HostServices, InstanceUpdatesAreRecorded) {
    const auto update = reinterpret_cast<host::InstanceUpdateFunction>(
        HostSession::lookup()(host::kInstanceUpdateName, host::kLookupMode));
    ASSERT_NE(update, nullptr);
    int first = 0, second = 0;
    update("CameraHandler", &first);
    update("CameraHandler", &second);
    EXPECT_THAT(session.instanceUpdates(),
                ElementsAre(InstanceUpdate{"CameraHandler", &first}, InstanceUpdate{"CameraHandler", &second}));
}

TEST_F(HostServices, LookupAnswersTheSessionsServicesOnly) {
    const host::GlobalLookup lookup = HostSession::lookup();
    EXPECT_NE(lookup(host::kEnvelopeServiceName, host::kLookupMode), nullptr);
    EXPECT_EQ(lookup("LWXPanel", host::kLookupMode), nullptr);
    EXPECT_EQ(lookup("No Such Service", host::kLookupMode), nullptr);

    int panel = 0;
    session.provideService("LWXPanel", &panel);
    EXPECT_EQ(lookup("LWXPanel", host::kLookupMode), &panel);
    session.withdrawService(host::kItemInfoName);
    EXPECT_EQ(lookup(host::kItemInfoName, host::kLookupMode), nullptr);
}

TEST(HostSessionLifetime, OnlyOneSessionIsActiveAndLookupNeedsOne) {
    EXPECT_EQ(HostSession::lookup()(host::kTimeInfoName, host::kLookupMode), nullptr);
    EXPECT_THROW(HostSession::active(), SessionError);
    {
        HostSession first;
        EXPECT_THROW(HostSession second, SessionError);
        EXPECT_EQ(&HostSession::active(), &first);
    }
    HostSession again;
    EXPECT_NE(HostSession::lookup()(host::kTimeInfoName, host::kLookupMode), nullptr);
}

}  // namespace
