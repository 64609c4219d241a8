// Saving a camera's settings with the scene and loading them again.

#include "module/ErrorTexts.h"
#include "tests/support/ModuleFixture.h"

namespace {

using ::testing::ElementsAre;
using testhost::FloatStream;
using testhost::InstanceFixture;
using tarvelin::TiltShiftInstance;

constexpr int kBlockFloats = 2 * tarvelin::kSettingCount;  // the fake host's five parameter blocks

class SceneData : public InstanceFixture {
protected:
    const char* Save(FloatStream& stream) {
        const host::SaveState state = stream.saveState();
        return tarvelin::SaveInstance(instance, &state);
    }
    const char* Load(FloatStream& stream) {
        const host::LoadState state = stream.loadState();
        return tarvelin::LoadInstance(instance, &state);
    }
    // A scene saved by an instance whose working copies hold `settings`.
    FloatStream SavedScene(const std::vector<double>& settings) {
        const std::vector<double> own = Settings();
        SetSettings(settings);
        FloatStream stream;
        EXPECT_EQ(Save(stream), nullptr);
        SetSettings(own);
        fakeHost.clearCalls();
        return stream;
    }
    // Replaces the instance by one whose `setting`-th parameter the host could not make.
    void RecreateWithoutParameter(int setting) {
        tarvelin::DestroyInstance(instance);
        fakeHost.failingParameterCreates.insert(fakeHost.parameterCreateCalls + setting);
        instance = static_cast<TiltShiftInstance*>(tarvelin::CreateInstance(nullptr, fakeHost.cameraItem, &error));
        ASSERT_NE(instance, nullptr);
        ASSERT_EQ(instance->*tarvelin::kSettings[setting].parameter, nullptr);
        fakeHost.clearCalls();
    }
};

TEST_F(SceneData, WritesTheFiveBlocksThenTheFiveSettingsAsFloats) {
    SetSettings({2.6217, 0.1, -0.25, 1.0, 0.3});
    FloatStream stream;

    EXPECT_EQ(Save(stream), nullptr);

    EXPECT_THAT(fakeHost.calls,
                ElementsAre("save(#0)", "save(#1)", "save(#2)", "save(#3)", "save(#4)", "writeFloats(5)"));
    ASSERT_EQ(stream.floats.size(), static_cast<std::size_t>(kBlockFloats + 5));
    EXPECT_THAT(std::vector<float>(stream.floats.begin() + kBlockFloats, stream.floats.end()),
                ElementsAre(2.6217f, 0.1f, -0.25f, 1.0f, 0.3f));
}

TEST_F(SceneData, LoadReadsTheBlocksThenWidensTheFloats) {
    FloatStream stream = SavedScene({2.6217, 0.1, -0.25, 1.0, 0.3});

    EXPECT_EQ(Load(stream), nullptr);

    EXPECT_THAT(fakeHost.calls,
                ElementsAre("load(#0)", "load(#1)", "load(#2)", "load(#3)", "load(#4)", "readFloats(5)"));
    EXPECT_EQ(instance->zoomFactor, 2.6217000484466553);
    EXPECT_EQ(Settings(), (std::vector<double>{2.6217f, 0.1f, -0.25f, 1.0f, 0.3f}));
    EXPECT_EQ(stream.readPosition, stream.floats.size());
}

TEST_F(SceneData, SingleRoundingIsTheOnlyLoss) {
    // Values a double holds but a float does not, rounded to nearest with ties to even.
    const double tieBetweenOneAndNext = 1.0 + 0x1p-24;  // halfway: rounds to the even 1.0
    const double aboveTie = 1.0 + 0x1p-24 + 0x1p-40;    // just above halfway: rounds up
    FloatStream stream = SavedScene({tieBetweenOneAndNext, aboveTie, -aboveTie, 1e-50, 0.1});

    ASSERT_EQ(Load(stream), nullptr);

    EXPECT_EQ(Settings(), (std::vector<double>{1.0, 1.0 + 0x1p-23, -(1.0 + 0x1p-23), 0.0, 0.10000000149011612}));
}

TEST_F(SceneData, AFailedBlockStopsTheLoadAndKeepsTheSettings) {
    FloatStream stream = SavedScene({5.0, 0.5, 0.5, 0.5, 0.5});
    const std::vector<double> before = {2.0, 0.1, 0.2, 0.3, 0.4};
    SetSettings(before);
    fakeHost.failingLoadBlock = 2;

    EXPECT_EQ(Load(stream), fakeHost.loadError);

    EXPECT_THAT(fakeHost.calls, ElementsAre("load(#0)", "load(#1)", "load(#2)"));
    EXPECT_EQ(Settings(), before);
}

class SceneDataWithFailingSaveBlock : public SceneData, public ::testing::WithParamInterface<int> {};

TEST_P(SceneDataWithFailingSaveBlock, StopsAtThatBlockAndWritesNoFloats) {
    const int failing = GetParam();
    fakeHost.failingSaveBlock = failing;
    FloatStream stream;

    EXPECT_EQ(Save(stream), fakeHost.saveError);

    EXPECT_EQ(fakeHost.callsStartingWith("save").size(), static_cast<std::size_t>(failing + 1));
    EXPECT_EQ(stream.writeCalls, failing);  // only the blocks before it
}

INSTANTIATE_TEST_SUITE_P(EachBlock, SceneDataWithFailingSaveBlock, ::testing::Range(0, 5),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(tarvelin::kSettings[info.param].channelName);
                         });

struct ShortReadCase {
    const char* name;
    int floatsInStream;
    std::optional<int> readerAnswer;
    int settingsTaken;
    friend void PrintTo(const ShortReadCase& read, std::ostream* out) { *out << read.name; }
};

class SceneDataWithShortRead : public SceneData, public ::testing::WithParamInterface<ShortReadCase> {};

TEST_P(SceneDataWithShortRead, SettingsNotDeliveredKeepTheirValues) {
    const ShortReadCase& read = GetParam();
    FloatStream stream = SavedScene({10.0, 11.0, 12.0, 13.0, 14.0});
    stream.cutAfter = kBlockFloats + read.floatsInStream;
    stream.readAnswer = read.readerAnswer;
    const std::vector<double> before = {2.0, 0.1, 0.2, 0.3, 0.4};
    SetSettings(before);

    EXPECT_EQ(Load(stream), nullptr);

    std::vector<double> expected = before;
    for (int i = 0; i < read.settingsTaken; ++i) expected[static_cast<std::size_t>(i)] = 10.0 + i;
    EXPECT_EQ(Settings(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SceneDataWithShortRead,
    ::testing::Values(ShortReadCase{"NoFloats", 0, std::nullopt, 0}, ShortReadCase{"OneFloat", 1, std::nullopt, 1},
                      ShortReadCase{"FourFloats", 4, std::nullopt, 4},
                      ShortReadCase{"ReaderReportsFailure", 5, -1, 0}),
    [](const ::testing::TestParamInfo<ShortReadCase>& info) { return std::string(info.param.name); });

TEST_F(SceneData, SavingMakesAMissingParameterAgainSoTheDataStaysReadable) {
    RecreateWithoutParameter(1);
    SetSettings({3.0, 0.125, 0.0, 0.0, 0.0});
    FloatStream stream;

    EXPECT_EQ(Save(stream), nullptr);

    EXPECT_THAT(fakeHost.calls,
                ElementsAre("create(32,-1)", "setupChannel(#9,HShift,zeros)", "setValue(#9,0.125)", "save(#5)",
                            "save(#9)", "save(#6)", "save(#7)", "save(#8)", "writeFloats(5)"));
    EXPECT_EQ(instance->hShiftParam, fakeHost.parameters.back().get());

    // Another camera reads it back whole.
    RecreateWithoutParameter(3);
    EXPECT_EQ(Load(stream), nullptr);
    EXPECT_EQ(Settings(), (std::vector<double>{3.0, 0.125, 0.0, 0.0, 0.0}));
    EXPECT_EQ(stream.readPosition, stream.floats.size());
    EXPECT_EQ(fakeHost.parameter(instance->tiltDirectionParam).channelName, "TiltDirection");
}

TEST_F(SceneData, AParameterThatCannotBeMadeStopsSaveAndLoadBeforeAnyData) {
    FloatStream saved = SavedScene({3.0, 0.5, 0.5, 0.5, 0.5});
    RecreateWithoutParameter(4);
    fakeHost.failingParameterCreates.insert(fakeHost.parameterCreateCalls);
    fakeHost.failingParameterCreates.insert(fakeHost.parameterCreateCalls + 1);
    const std::vector<double> before = Settings();

    FloatStream stream;
    EXPECT_EQ(Save(stream), tarvelin::kInstanceAllocationError);
    EXPECT_EQ(Load(saved), tarvelin::kInstanceAllocationError);

    EXPECT_THAT(fakeHost.calls, ElementsAre("create(64,-1)", "create(64,-1)"));
    EXPECT_TRUE(stream.floats.empty());
    EXPECT_EQ(saved.readPosition, 0u);
    EXPECT_EQ(Settings(), before);
}

}  // namespace
