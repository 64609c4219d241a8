// The tilt diagram: its 76 drawing calls, the rim, and where the marker goes.

#include <cmath>
#include <limits>

#include "panel/PanelIds.h"
#include "panel/PanelValues.h"
#include "panel/TiltDiagram.h"
#include "tests/support/PanelFixture.h"

namespace {

using testhost::DrawingCall;
using testhost::PanelFixture;

constexpr double kPi = 3.141592653589793;
constexpr std::int32_t kLineColour = 0x01C8C8C8;

class TiltDiagram : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        ASSERT_EQ(ActivateInterface(), host::kActivated);
        fakeHost.clearCalls();
    }

    const std::vector<DrawingCall>& Draw() {
        fakePanel.drawing.clear();
        tarvelin::DrawTiltDiagram(fakePanel.panel(), tarvelin::CTL_DIAGRAM, area);
        return fakePanel.drawing;
    }

    DrawingCall Box(std::vector<std::int32_t> arguments) const { return {"box", area, std::move(arguments)}; }
    DrawingCall Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) const {
        return {"line", area, {kLineColour, x1, y1, x2, y2}};
    }
    DrawingCall Marker(std::int32_t x, std::int32_t y) const { return Box({255, 100, 100, x, y, 5, 5}); }

    host::DrawingArea area = reinterpret_cast<host::DrawingArea>(0xA2EA);
};

// The rim's 72 segments, two turns of 10 degrees each: the point is advanced
// by repeated rotation, so the second turn starts one pixel off the first.
constexpr std::int32_t kRim[72][4] = {
    {40, 59, 34, 58}, {34, 58, 30, 57}, {30, 57, 25, 55}, {25, 55, 21, 52},
    {21, 52, 17, 48}, {17, 48, 14, 44}, {14, 44, 12, 39}, {12, 39, 11, 35},
    {11, 35, 11, 30}, {11, 30, 11, 24}, {11, 24, 12, 20}, {12, 20, 14, 15},
    {14, 15, 17, 11}, {17, 11, 21, 7}, {21, 7, 25, 4}, {25, 4, 30, 2},
    {30, 2, 34, 1}, {34, 1, 39, 1}, {39, 1, 45, 1}, {45, 1, 49, 2},
    {49, 2, 54, 4}, {54, 4, 58, 7}, {58, 7, 62, 11}, {62, 11, 65, 15},
    {65, 15, 67, 20}, {67, 20, 68, 24}, {68, 24, 68, 29}, {68, 29, 68, 35},
    {68, 35, 67, 39}, {67, 39, 65, 44}, {65, 44, 62, 48}, {62, 48, 58, 52},
    {58, 52, 54, 55}, {54, 55, 49, 57}, {49, 57, 45, 58}, {45, 58, 40, 58},
    {40, 58, 34, 58}, {34, 58, 30, 57}, {30, 57, 25, 55}, {25, 55, 21, 52},
    {21, 52, 17, 48}, {17, 48, 14, 44}, {14, 44, 12, 39}, {12, 39, 11, 35},
    {11, 35, 11, 30}, {11, 30, 11, 24}, {11, 24, 12, 20}, {12, 20, 14, 15},
    {14, 15, 17, 11}, {17, 11, 21, 7}, {21, 7, 25, 4}, {25, 4, 30, 2},
    {30, 2, 34, 1}, {34, 1, 39, 1}, {39, 1, 45, 1}, {45, 1, 49, 2},
    {49, 2, 54, 4}, {54, 4, 58, 7}, {58, 7, 62, 11}, {62, 11, 65, 15},
    {65, 15, 67, 20}, {67, 20, 68, 24}, {68, 24, 68, 29}, {68, 29, 68, 35},
    {68, 35, 67, 39}, {67, 39, 65, 44}, {65, 44, 62, 48}, {62, 48, 58, 52},
    {58, 52, 54, 55}, {54, 55, 49, 57}, {49, 57, 45, 58}, {45, 58, 40, 58},
};

TEST_F(TiltDiagram, DrawsBackgroundRimCrossAndMarkerInSeventySixCalls) {
    const std::vector<DrawingCall>& calls = Draw();

    std::vector<DrawingCall> expected = {Box({240, 240, 240, 0, 0, 100, 100})};
    for (const auto& segment : kRim) expected.push_back(Line(segment[0], segment[1], segment[2], segment[3]));
    expected.push_back(Box({200, 200, 200, 0, 30, 81, 1}));
    expected.push_back(Box({200, 200, 200, 40, 0, 1, 61}));
    expected.push_back(Marker(38, 28));
    ASSERT_EQ(expected.size(), 76u);
    EXPECT_EQ(calls, expected);
    // The instance comes from the panel, not from anything the module kept.
    EXPECT_THAT(fakeHost.calls, ::testing::ElementsAre("panel.getData(panel,0)"));
}

TEST_F(TiltDiagram, RimRunsAroundTheDiscCentre) {
    const std::vector<DrawingCall>& calls = Draw();
    ASSERT_EQ(calls.size(), 76u);
    for (std::size_t i = 1; i <= 72; ++i) {
        SCOPED_TRACE(i);
        const std::vector<std::int32_t>& line = calls[i].arguments;
        ASSERT_EQ(calls[i].operation, "line");
        // Truncated points of a circle of radius 29 about (40, 30).
        const double radius = std::hypot(line[1] - 40, line[2] - 30);
        EXPECT_NEAR(radius, 29.0, 1.5);
        if (i > 1) {
            EXPECT_EQ(line[1], calls[i - 1].arguments[3]);
            EXPECT_EQ(line[2], calls[i - 1].arguments[4]);
        }
    }
}

struct MarkerCase {
    const char* name;
    double tiltAngle;
    double tiltDirection;
    std::int32_t x;  // the marker box's top-left corner
    std::int32_t y;
    friend void PrintTo(const MarkerCase& given, std::ostream* out) { *out << given.name; }
};

const MarkerCase kMarkerCases[] = {
    {"NoTilt", 0.0, 0.0, 38, 28},
    {"NoTiltWhateverTheDirection", 0.0, 1.234, 38, 28},
    {"NoTiltDirectionMinusPi", 0.0, -kPi, 38, 28},
    {"EighthPiUp", kPi / 8, 0.0, 38, 13},
    {"EighthPiDown", kPi / 8, kPi, 38, 42},
    {"HalfPiOnTheRim", kPi / 2, 0.0, 38, -1},
    {"HalfPiTowardLargerX", kPi / 2, kPi / 2, 67, 28},
    {"QuarterPiDiagonal", kPi / 4, kPi / 4, 52, 13},
    // Beyond the rim and the background; truncation is toward zero.
    {"HundredRadiansOutside", 100.0, 0.0, 38, -203},
    // A tilt of −α about δ is a tilt of α about δ + 180°.
    {"MinusEighthPiUpIsDown", -kPi / 8, 0.0, 38, 42},
    {"MinusEighthPiDownIsUp", -kPi / 8, kPi, 38, 13},
    {"MinusHalfPiTowardSmallerX", -kPi / 2, kPi / 2, 9, 28},
    {"MinusQuarterPiDiagonal", -kPi / 4, kPi / 4, 23, 42},
    // Far beyond any drawing area the radius is held at 2^30 pixels, so the
    // corner stays an int32 whatever the tilt.
    {"HugeTilt", 1e300, 0.0, 38, 28 - (1 << 30)},
    {"HugeTiltTowardLargerX", 1e300, kPi / 2, 38 + (1 << 30), 27},
    {"HugeNegativeTilt", -1e300, 0.0, 38, 28 + (1 << 30)},
    {"TiltWhoseDoubleOverflows", std::numeric_limits<double>::max(), 0.0, 38, 28 - (1 << 30)},
};

class TiltDiagramMarker : public TiltDiagram, public ::testing::WithParamInterface<MarkerCase> {};

TEST_P(TiltDiagramMarker, SitsWhereTheTiltPointsIt) {
    const MarkerCase& given = GetParam();
    instance->tiltAngle = given.tiltAngle;
    instance->tiltDirection = given.tiltDirection;

    const std::vector<DrawingCall>& calls = Draw();

    ASSERT_EQ(calls.size(), 76u);
    EXPECT_EQ(calls.back(), Marker(given.x, given.y));
}

INSTANTIATE_TEST_SUITE_P(Tilts, TiltDiagramMarker, ::testing::ValuesIn(kMarkerCases),
                         [](const ::testing::TestParamInfo<MarkerCase>& info) { return info.param.name; });

// Settings that are not numbers place no marker; the rest is drawn as ever.
TEST_F(TiltDiagram, NonFiniteSettingsDrawNoMarker) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::pair<double, double>> settings = {
        {kNaN, 0.0}, {kInfinity, 0.0}, {-kInfinity, 1.0}, {kPi / 8, kNaN}, {0.0, kInfinity}};
    for (const auto& [angle, direction] : settings) {
        SCOPED_TRACE(::testing::Message() << "angle " << angle << ", direction " << direction);
        instance->tiltAngle = angle;
        instance->tiltDirection = direction;
        const std::vector<DrawingCall>& calls = Draw();
        ASSERT_EQ(calls.size(), 75u);
        EXPECT_EQ(calls.front(), Box({240, 240, 240, 0, 0, 100, 100}));
        EXPECT_EQ(calls.back(), Box({200, 200, 200, 40, 0, 1, 61}));
    }
}

// A negative tilt mirrors the positive one through the disc centre.
TEST_F(TiltDiagram, NegativeTiltMirrorsThroughTheCentre) {
    int checked = 0;
    for (double angle : {0.1, 0.5, 1.0, kPi / 2}) {
        for (double direction : {-2.5, -0.3, 0.7, 2.0, 4.0}) {
            SCOPED_TRACE(::testing::Message() << "angle " << angle << ", direction " << direction);
            instance->tiltDirection = direction;
            instance->tiltAngle = angle;
            const DrawingCall positive = Draw().back();
            instance->tiltAngle = -angle;
            const DrawingCall negative = Draw().back();
            // Corners of boxes centred on c + v and c − v add up to twice c's corner, within truncation.
            EXPECT_NEAR(positive.arguments[3] + negative.arguments[3], 2 * 38, 1);
            EXPECT_NEAR(positive.arguments[4] + negative.arguments[4], 2 * 28, 1);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 20);
}

TEST_F(TiltDiagram, DrawsTheWorkingCopyAsTheLastEditLeftIt) {
    fakeHost.parameter(instance->tiltAngleParam).value = kPi / 2;  // the animation says otherwise
    double edited = kPi / 8;
    ASSERT_EQ(tarvelin::SetPanelValue(instance, tarvelin::CTL_TILT_ANGLE, &edited), 1);
    EXPECT_EQ(Draw().back(), Marker(38, 13));

    edited = kPi;
    ASSERT_EQ(tarvelin::SetPanelValue(instance, tarvelin::CTL_TILT_DIRECTION, &edited), 1);
    EXPECT_EQ(Draw().back(), Marker(38, 42));
    EXPECT_THAT(fakeHost.callsStartingWith("value("), ::testing::IsEmpty());
}

TEST_F(TiltDiagram, PanelWithoutInstanceDrawsNoMarker) {
    fakePanel.data.clear();
    const std::vector<DrawingCall>& calls = Draw();
    ASSERT_EQ(calls.size(), 75u);
    EXPECT_EQ(calls.back(), Box({200, 200, 200, 40, 0, 1, 61}));
}

// A later activation that found no panel service leaves old panels' callbacks
// with nothing to draw with.
TEST_F(TiltDiagram, WithoutPanelServiceDrawsNothing) {
    fakeHost.missingServices.insert(host::kPanelServiceName);
    ASSERT_EQ(ActivateInterface(), host::kServiceMissing);
    EXPECT_THAT(Draw(), ::testing::IsEmpty());
}

}  // namespace
