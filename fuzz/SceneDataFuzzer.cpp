// The camera's scene data as a damaged or hostile scene file gives it to the
// module: parameter blocks that fail or are cut short, and float streams that
// end early, answer counts that are not what they delivered, or hold
// not-a-number and infinite floats.
//
// Invariants: a failed load leaves the five settings exactly as they were; a
// successful load sets each delivered setting to its float, widened exactly,
// and leaves the undelivered ones as they were; saving and loading again
// gives each setting rounded to the nearest single-precision value.
//
// Input: flags byte (1: no parameter service at load, 2: the reader answers
// the count below), failing-create mask (16 bits), failing load block, cut
// (255: none), the reader's answer (32 bits), failing save block, then five
// settings before the load and five settings to save (doubles), then the
// floats of the stream to load from.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "fuzz/CameraSession.h"
#include "module/ErrorTexts.h"

namespace {

using fuzz::FuzzInput;
using tarvelin::kSettingCount;
using tarvelin::kSettings;
using tarvelin::TiltShiftInstance;

constexpr std::size_t kMostStreamFloats = 64;

struct Settings {
    double values[kSettingCount];
};

Settings SettingsOf(const TiltShiftInstance& instance) {
    Settings settings;
    for (int i = 0; i < kSettingCount; ++i) settings.values[i] = instance.*kSettings[i].value;
    return settings;
}

void SetSettings(TiltShiftInstance& instance, const Settings& settings) {
    for (int i = 0; i < kSettingCount; ++i) instance.*kSettings[i].value = settings.values[i];
}

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// `loaded` is the float widened from `stored`: exactly, or a not-a-number for one.
bool IsWidened(double loaded, float stored) {
    if (std::isnan(stored)) return std::isnan(loaded);
    return SameBits(loaded, static_cast<double>(stored));
}

bool IsSingle(double value) { return std::isnan(value) || static_cast<double>(static_cast<float>(value)) == value; }

// `loaded` is the single-precision value nearest to `original`, ties to even.
// Checked against the neighbouring floats rather than by converting again.
bool IsNearestSingle(double original, double loaded) {
    if (std::isnan(original)) return std::isnan(loaded);
    if (!IsSingle(loaded) || std::signbit(loaded) != std::signbit(original)) return false;
    const auto single = static_cast<float>(loaded);
    if (std::isinf(single)) {
        // Halfway between the largest float and the next power of two rounds
        // up (the largest float's last bit is odd).
        constexpr double kOverflowThreshold = 0x1.ffffffp127;
        return std::fabs(original) >= kOverflowThreshold;
    }
    const double distance = std::fabs(original - loaded);
    for (float direction : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        const float neighbour = std::nextafter(single, direction);
        const double neighbourDistance = std::fabs(original - static_cast<double>(neighbour));
        if (neighbourDistance < distance) return false;
        if (neighbourDistance == distance && (std::bit_cast<std::uint32_t>(single) & 1u) != 0) return false;
    }
    return true;
}

// Loads one instance from a hostile stream.
struct StreamDamage {
    int cutAfter;                   // -1: the stream holds all its floats
    std::optional<int> readAnswer;  // what the reader answers instead of the count it delivered
};

void LoadFromDamagedStream(fuzz::CameraSession& session, FuzzInput& input, std::uint8_t flags,
                           const StreamDamage& damage, const Settings& before) {
    testhost::RecordingHost& host = session.host;
    TiltShiftInstance* instance = session.CreateInstance();
    SetSettings(*instance, before);
    // A later activation that found no parameter service leaves the
    // instance with nothing to read its parameter blocks with.
    if ((flags & 1u) != 0) tarvelin::HostServices.parameterService = nullptr;

    testhost::FloatStream stream;
    stream.cutAfter = damage.cutAfter;
    stream.readAnswer = damage.readAnswer;
    while (!input.empty() && stream.floats.size() < kMostStreamFloats) stream.floats.push_back(input.single());
    const host::LoadState state = stream.loadState();

    const char* error = tarvelin::LoadInstance(instance, &state);
    const Settings after = SettingsOf(*instance);
    if (error != nullptr) {
        FUZZ_CHECK(error == host.loadError || std::strcmp(error, "parameter block cut short") == 0 ||
                   error == tarvelin::kInstanceAllocationError);
        for (int i = 0; i < kSettingCount; ++i) FUZZ_CHECK(SameBits(after.values[i], before.values[i]));
        return;
    }

    // Five blocks of two floats came first; the settings' floats follow.
    FUZZ_CHECK(stream.readCalls == kSettingCount + 1);
    constexpr std::size_t kFirstSetting = 2 * kSettingCount;
    FUZZ_CHECK(stream.floats.size() >= kFirstSetting);
    std::size_t end = stream.floats.size();
    if (stream.cutAfter >= 0) end = std::min(end, static_cast<std::size_t>(stream.cutAfter));
    const int delivered = static_cast<int>(std::min<std::size_t>(kSettingCount, end - kFirstSetting));
    const int answered = std::clamp(stream.readAnswer.value_or(delivered), 0, kSettingCount);
    for (int i = 0; i < kSettingCount; ++i) {
        if (i >= answered) {
            FUZZ_CHECK(SameBits(after.values[i], before.values[i]));
        } else if (i < delivered) {
            FUZZ_CHECK(IsWidened(after.values[i], stream.floats[kFirstSetting + static_cast<std::size_t>(i)]));
        } else {
            // The reader claimed a float it never delivered: whatever the
            // setting holds, it came from a float.
            FUZZ_CHECK(IsSingle(after.values[i]));
        }
    }
}

// Saves one instance and loads the data into another.
void SaveAndLoad(fuzz::CameraSession& session, const Settings& saved, int failingSaveBlock) {
    testhost::RecordingHost& host = session.host;
    TiltShiftInstance* source = session.CreateInstance();
    TiltShiftInstance* destination = session.CreateInstance();
    SetSettings(*source, saved);

    testhost::FloatStream stream;
    host.failingSaveBlock = failingSaveBlock;
    host.saveCalls = 0;
    const host::SaveState saveState = stream.saveState();
    const char* saveError = tarvelin::SaveInstance(source, &saveState);
    if (saveError != nullptr) {
        FUZZ_CHECK(saveError == host.saveError);
        // Nothing after the failing block is written.
        FUZZ_CHECK(stream.floats.size() == 2 * static_cast<std::size_t>(failingSaveBlock));
        return;
    }
    FUZZ_CHECK(stream.floats.size() == 3 * kSettingCount);

    host.failingLoadBlock = -1;
    host.loadCalls = 0;
    const host::LoadState loadState = stream.loadState();
    FUZZ_CHECK(tarvelin::LoadInstance(destination, &loadState) == nullptr);
    const Settings loaded = SettingsOf(*destination);
    for (int i = 0; i < kSettingCount; ++i) FUZZ_CHECK(IsNearestSingle(saved.values[i], loaded.values[i]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t flags = input.byte();
    const std::uint16_t failingCreates = input.take<std::uint16_t>();
    const int failingLoadBlock = input.byte() % 7 - 1;  // -1: none; 5: past the last block
    const std::uint8_t cut = input.byte();
    const std::int32_t answer = input.integer();
    const int failingSaveBlock = input.byte() % 7 - 1;
    Settings before;
    for (double& value : before.values) value = input.number();
    Settings saved;
    for (double& value : saved.values) value = input.number();

    {
        fuzz::CameraSession session;
        // Creates 0 to 4 are the instance's own; later ones are the load's
        // second try at a parameter the host could not make.
        for (int call = 0; call < 16; ++call) {
            if ((failingCreates >> call & 1u) != 0) session.host.failingParameterCreates.insert(call);
        }
        session.host.failingLoadBlock = failingLoadBlock;
        StreamDamage damage{cut == 255 ? -1 : cut, std::nullopt};
        if ((flags & 2u) != 0) damage.readAnswer = answer;
        LoadFromDamagedStream(session, input, flags, damage, before);
    }
    {
        fuzz::CameraSession session;
        SaveAndLoad(session, saved, failingSaveBlock);
    }
    return 0;
}
