// The settings panel as the host drives it: any control id with any value
// through the get and set functions, the focal-length line for any zoom,
// film height and current time, and the tilt diagram for any tilt.
//
// Invariants: a setting's id gets its parameter handle and sets exactly its
// working copy (and tells the host once, when the host listens); any other id
// gets null, sets nothing and tells nothing; the focal-length line is always
// terminated within the 40 bytes of `infoText` and writes nothing past them
// (guard bytes follow the instance), and reads as "Focal Length %0.1fmm" for
// every focal length below 10^20 mm; the diagram draws its fixed background,
// rim and cross lines whatever the instance holds, then a marker where the
// tilt puts it for finite settings and none for settings that are not.
//
// Input: flags byte (1: the host listens for instance updates, 2: no instance
// is attached to the panel), zoom value, zoom rate, current time, film
// height, tilt angle, tilt direction (doubles); then operations of one byte
// (kind: get, set or draw; bit 0x80 folds the id into 0x8000..0x800F), one
// 32-bit id and one double.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "fuzz/CameraSession.h"
#include "host/PanelService.h"
#include "panel/CameraInterface.h"
#include "panel/PanelIds.h"
#include "panel/PanelValues.h"
#include "panel/TiltDiagram.h"
#include "tests/support/RecordingPanel.h"

namespace {

using fuzz::FuzzInput;
using tarvelin::TiltShiftInstance;
using testhost::DrawingCall;

constexpr int kMostOperations = 64;
constexpr unsigned char kTextFill = 0xA5;  // no terminator anywhere until the module writes one
constexpr unsigned char kGuardFill = 0x5C;
const auto kArea = reinterpret_cast<host::DrawingArea>(0x7A7A);

// The instance with bytes after it that nothing may write.
struct GuardedInstance {
    TiltShiftInstance instance;
    unsigned char guard[32];
};
static_assert(offsetof(GuardedInstance, guard) == sizeof(TiltShiftInstance), "the guard follows the instance");

// The setting behind a setting control, or null.
const tarvelin::Setting* SettingOf(host::PanelId id) {
    constexpr std::array<host::PanelId, tarvelin::kSettingCount> kIds = {
        tarvelin::CTL_ZOOM, tarvelin::CTL_HSHIFT, tarvelin::CTL_VSHIFT, tarvelin::CTL_TILT_DIRECTION,
        tarvelin::CTL_TILT_ANGLE};
    for (std::size_t i = 0; i < kIds.size(); ++i) {
        if (kIds[i] == id) return &tarvelin::kSettings[i];
    }
    return nullptr;
}

// The fixed part of the diagram, as the host is always shown it: the
// background, a rim of 72 lines advanced by repeated rotation through 10
// degrees, and the two cross lines.
std::vector<DrawingCall> FixedDiagram() {
    std::vector<DrawingCall> calls;
    calls.push_back({"box", kArea, {240, 240, 240, 0, 0, 100, 100}});
    const double theta = tarvelin::pi / 18.0;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    double px = 0.0;
    double py = 29.0;
    for (int segment = 0; segment < 72; ++segment) {
        const double qx = px * c - py * s;
        const double qy = px * s + py * c;
        calls.push_back({"line",
                         kArea,
                         {0x01C8C8C8, static_cast<std::int32_t>(px + 40), static_cast<std::int32_t>(py + 30),
                          static_cast<std::int32_t>(qx + 40), static_cast<std::int32_t>(qy + 30)}});
        px = qx;
        py = qy;
    }
    calls.push_back({"box", kArea, {200, 200, 200, 0, 30, 81, 1}});
    calls.push_back({"box", kArea, {200, 200, 200, 40, 0, 1, 61}});
    return calls;
}

// The marker box for finite settings: centred on the disc centre minus the
// tilt vector of radius 29·sqrt(2|α|/π) (held at 2^30 pixels, far beyond any
// drawing area), on the opposite side for a negative tilt.
std::optional<DrawingCall> ExpectedMarker(double angle, double direction) {
    if (!std::isfinite(angle) || !std::isfinite(direction)) return std::nullopt;
    const double magnitude = std::fabs(angle);
    const double radius = std::fmin(29.0 * std::sqrt((magnitude + magnitude) / tarvelin::pi), 0x1p30);
    double tx = radius * -std::sin(direction);
    double ty = radius * std::cos(direction);
    if (angle < 0.0) {
        tx = -tx;
        ty = -ty;
    }
    return DrawingCall{
        "box", kArea, {255, 100, 100, static_cast<std::int32_t>(38 - tx), static_cast<std::int32_t>(28 - ty), 5, 5}};
}

class PanelCase {
public:
    explicit PanelCase(FuzzInput& input) : input_(input) {
        const std::uint8_t flags = input.byte();
        // The panel works on a copy of a created instance that has guard bytes
        // after it; the copy shares the created instance's parameters.
        guarded_.instance = *session_.CreateInstance();
        std::memset(guarded_.guard, kGuardFill, sizeof guarded_.guard);
        if ((flags & 1u) != 0) panel_.InstallInstanceUpdate();
        listening_ = (flags & 1u) != 0;

        testhost::FakeParameter& zoom = session_.host.parameter(instance().zoomParam);
        zoom.value = input.number();
        zoom.slope = input.number();
        session_.host.timeInfo.time = input.number();
        instance().filmHeight = input.number();
        instance().tiltAngle = input.number();
        instance().tiltDirection = input.number();

        host::CameraInterfaceRecord record{&guarded_.instance, nullptr, nullptr, nullptr};
        FUZZ_CHECK(tarvelin::ActivateCameraInterface(host::kCameraInterfaceVersion, testhost::RecordingHost::lookup(),
                                                     &record, nullptr) == host::kActivated);
        FUZZ_CHECK(record.panel == panel_.panel());
        if ((flags & 2u) != 0) panel_.data[tarvelin::kWholePanel] = nullptr;
        attached_ = (flags & 2u) == 0;
    }

    void Run() {
        for (int operation = 0; operation < kMostOperations && !input_.empty(); ++operation) {
            const std::uint8_t kind = input_.byte();
            host::PanelId id = input_.word();
            if ((kind & 0x80u) != 0) id = 0x8000 + id % 16;
            const double value = input_.number();
            switch (kind % 3) {
            case 0: Get(id); break;
            case 1: Set(id, value); break;
            default: Draw(); break;
            }
            FUZZ_CHECK(std::all_of(std::begin(guarded_.guard), std::end(guarded_.guard),
                                   [](unsigned char byte) { return byte == kGuardFill; }));
        }
    }

private:
    TiltShiftInstance& instance() { return guarded_.instance; }

    void Get(host::PanelId id) {
        std::memset(instance().infoText, kTextFill, sizeof instance().infoText);
        const GuardedInstance before = guarded_;
        void* value = tarvelin::GetPanelValue(&instance(), id);
        if (id == tarvelin::CTL_INFO) {
            FUZZ_CHECK(value == instance().infoText);
            CheckFocalLengthLine();
        } else {
            const tarvelin::Setting* setting = SettingOf(id);
            FUZZ_CHECK(value == (setting != nullptr ? instance().*setting->parameter : nullptr));
            FUZZ_CHECK(std::memcmp(&guarded_, &before, sizeof guarded_) == 0);
        }
    }

    void CheckFocalLengthLine() {
        const char* text = instance().infoText;
        FUZZ_CHECK(std::memchr(text, '\0', tarvelin::kInfoTextSize) != nullptr);
        const testhost::FakeParameter& zoom = session_.host.parameter(instance().zoomParam);
        const double zoomNow = zoom.value + zoom.slope * session_.host.timeInfo.time;
        const double millimetres = ((instance().filmHeight * zoomNow) * 0.5) * 1000.0;
        if (std::isfinite(millimetres) && std::fabs(millimetres) < 1e20) {
            char expected[64];
            std::snprintf(expected, sizeof expected, "Focal Length %0.1fmm", millimetres);
            FUZZ_CHECK(std::strcmp(text, expected) == 0);
        }
    }

    void Set(host::PanelId id, double value) {
        GuardedInstance expected = guarded_;
        const tarvelin::Setting* setting = SettingOf(id);
        if (setting != nullptr) expected.instance.*setting->value = value;
        const std::size_t updatesBefore = panel_.updatedInstances.size();

        double edited = value;
        const int stored = tarvelin::SetPanelValue(&instance(), id, &edited);
        FUZZ_CHECK(stored == (setting != nullptr ? 1 : 0));
        FUZZ_CHECK(std::memcmp(&guarded_, &expected, sizeof guarded_) == 0);
        const std::size_t updates = setting != nullptr && listening_ ? 1 : 0;
        FUZZ_CHECK(panel_.updatedInstances.size() == updatesBefore + updates);
        if (updates == 1) FUZZ_CHECK(panel_.updatedInstances.back() == &instance());
    }

    void Draw() {
        panel_.drawing.clear();
        tarvelin::DrawTiltDiagram(panel_.panel(), tarvelin::CTL_DIAGRAM, kArea);
        static const std::vector<DrawingCall> fixed = FixedDiagram();
        std::vector<DrawingCall> expected = fixed;
        if (attached_) {
            if (const auto marker = ExpectedMarker(instance().tiltAngle, instance().tiltDirection)) {
                expected.push_back(*marker);
            }
        }
        FUZZ_CHECK(panel_.drawing == expected);
    }

    FuzzInput& input_;
    fuzz::CameraSession session_;
    testhost::RecordingPanel panel_{session_.host};
    GuardedInstance guarded_{};
    bool listening_ = false;
    bool attached_ = true;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    PanelCase(input).Run();
    return 0;
}
