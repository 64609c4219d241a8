#pragma once
// A host for tests: fake services that record every call the module makes,
// with switches for the failures the module must survive.

#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/CameraRecords.h"
#include "host/PanelService.h"
#include "host/Services.h"

namespace testhost {

// An animated parameter as the fake parameter service keeps it: its value is
// `value + slope × time`, so evaluation at different times can be told apart.
struct FakeParameter {
    int index;  // creation order, as the call log names it: #0, #1, …
    int type;
    int texture;
    std::string channelName;
    host::ChannelGroupId group = nullptr;
    double value = 0.0;
    double slope = 0.0;
    bool destroyed = false;
};

// A stream of floats behind the host's load and save states. Parameter blocks
// are written into it as two floats each: the parameter's index and value.
class FloatStream {
public:
    std::vector<float> floats;
    std::size_t readPosition = 0;
    int cutAfter = -1;              // the stream ends after this many floats, as a cut-short file would
    std::optional<int> readAnswer;  // what the reader answers the module instead of the count delivered
    int writeCalls = 0;
    int readCalls = 0;

    host::LoadState loadState();
    host::SaveState saveState();
};

class RecordingHost {
public:
    RecordingHost();  // becomes the host that the services' calls reach
    ~RecordingHost();
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    // The global lookup handed to activations.
    static host::GlobalLookup lookup();

    // Misuse of the host by the module (an unknown or destroyed handle); tests
    // expect none.
    std::vector<std::string> faults;

    // Every call the module made, in order, for example "create(16,-1)".
    std::vector<std::string> calls;
    void clearCalls() { calls.clear(); }
    // The calls whose text starts with `prefix`.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;

    // Switches.
    std::set<std::string> missingServices;  // lookups of these names answer null
    std::set<int> failingParameterCreates;  // the n-th create call (from 0) answers null
    int parameterCreateCalls = 0;
    int failingLoadBlock = -1;              // the n-th parameter load answers loadError
    int failingSaveBlock = -1;              // the n-th parameter save answers saveError
    const char* loadError = "Parameter block unreadable";
    const char* saveError = "Parameter block not written";

    // State the services answer from.
    host::TimeInfo timeInfo{0.0};
    double cameraZoomFactor = 3.2;
    host::ItemId cameraItem = reinterpret_cast<host::ItemId>(0x1000);
    host::ChannelGroupId channelGroupOf(host::ItemId item) const;
    // The camera as the item and camera services report it. The position
    // moves with `velocity` and the focus distance with `focusRate` per
    // second, so samples taken at different times differ.
    struct Camera {
        std::array<double, 3> position{0.0, 0.0, 0.0};
        std::array<double, 3> velocity{0.0, 0.0, 0.0};
        std::array<double, 3> right{1.0, 0.0, 0.0};
        std::array<double, 3> up{0.0, 1.0, 0.0};
        std::array<double, 3> forward{0.0, 0.0, 1.0};
        double focusDistance = 2.0;
        double focusRate = 0.0;
        double fStop = 4.0;
    } camera;

    std::vector<std::unique_ptr<FakeParameter>> parameters;
    FakeParameter& parameter(host::ParameterHandle handle);
    // The live parameters (not destroyed).
    int liveParameterCount() const;

    bool inParameterBlock = false;
    int loadCalls = 0;
    int saveCalls = 0;

    host::ParameterService parameterService{};
    host::ItemInfoService itemInfo{};
    host::CameraInfoService cameraInfo{};
    int envelopeService = 0;  // only its presence matters
    // Services that tests provide themselves; null answers as missing.
    host::InstanceUpdateFunction instanceUpdate = nullptr;
    void* panelService = nullptr;
};

// The host whose services are being called.
RecordingHost& ActiveHost();

}  // namespace testhost
