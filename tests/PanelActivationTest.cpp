// The interface server's activation and the panel tables it hands the host.

#include <array>
#include <cstring>

#include "module/ModuleEntry.h"
#include "panel/PanelTables.h"
#include "panel/PanelValues.h"
#include "panel/TiltDiagram.h"
#include "tests/support/PanelFixture.h"

namespace {

using ::testing::ElementsAre;
using testhost::PanelFixture;
using testhost::RecordingHost;

void* Marker(std::uintptr_t value) { return reinterpret_cast<void*>(value); }

// The interface record as the host filled it, to show what the module left alone.
host::CameraInterfaceRecord HostsRecord(void* instance) { return {instance, Marker(0x51), Marker(0x52), Marker(0x53)}; }

void ExpectSameRecord(const host::CameraInterfaceRecord& actual, const host::CameraInterfaceRecord& expected) {
    EXPECT_EQ(actual.instance, expected.instance);
    EXPECT_EQ(actual.panel, expected.panel);
    EXPECT_EQ(actual.hostOption1, expected.hostOption1);
    EXPECT_EQ(actual.hostOption2, expected.hostOption2);
}

void* OtherLookup(const char*, int) { return nullptr; }

class InterfaceActivation : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        record = HostsRecord(instance);
        fakePanel.InstallInstanceUpdate();
    }
};

TEST_F(InterfaceActivation, WrongVersionStoresNothing) {
    tarvelin::HostServices.globalLookup = OtherLookup;
    tarvelin::HostServices.instanceUpdate = reinterpret_cast<host::InstanceUpdateFunction>(Marker(0x61));
    tarvelin::HostServices.panelService = static_cast<const host::PanelService*>(Marker(0x62));
    const tarvelin::HostServiceTable before = tarvelin::HostServices;

    for (int version : {3, 5, 0, -4}) {
        SCOPED_TRACE(version);
        EXPECT_EQ(ActivateInterface(version), host::kBadVersion);
        EXPECT_EQ(std::memcmp(&tarvelin::HostServices, &before, sizeof before), 0);
        ExpectSameRecord(record, HostsRecord(instance));
    }
    EXPECT_THAT(fakeHost.calls, ::testing::IsEmpty());
    EXPECT_EQ(fakePanel.createCalls, 0);
}

TEST_F(InterfaceActivation, BuildsOnePanelForTheInstanceInTheHostsOrder) {
    tarvelin::HostServices.globalLookup = OtherLookup;

    ASSERT_EQ(ActivateInterface(), host::kActivated);

    EXPECT_THAT(fakeHost.calls,
                ElementsAre("lookup(Instance Update,0)", "lookup(LWXPanel,0)", "panel.create(1)",
                            "panel.describe(panel)", "panel.hint(panel,0)", "panel.viewInstance(panel)",
                            "panel.setData(panel,0)"));
    EXPECT_EQ(fakePanel.panelType, 1);
    EXPECT_EQ(fakePanel.controls, tarvelin::panelControls);
    EXPECT_EQ(fakePanel.dataDescription, tarvelin::panelDataDescription);
    EXPECT_EQ(fakePanel.getFunction, &tarvelin::GetPanelValue);
    EXPECT_EQ(fakePanel.setFunction, &tarvelin::SetPanelValue);
    EXPECT_EQ(static_cast<const void*>(fakePanel.hints), static_cast<const void*>(&tarvelin::panelHints));
    EXPECT_EQ(fakePanel.viewedInstance, instance);
    EXPECT_THAT(fakePanel.data, ElementsAre(::testing::Pair(0u, instance)));

    ExpectSameRecord(record, {instance, fakePanel.panel(), nullptr, nullptr});
    EXPECT_EQ(tarvelin::HostServices.globalLookup, RecordingHost::lookup());
    EXPECT_NE(tarvelin::HostServices.instanceUpdate, nullptr);
    EXPECT_EQ(tarvelin::HostServices.panelService, &fakePanel.service);
}

TEST_F(InterfaceActivation, WithoutPanelServiceAnswersTwoAndLeavesTheRecord) {
    fakeHost.missingServices.insert(host::kPanelServiceName);
    tarvelin::HostServices.globalLookup = OtherLookup;
    tarvelin::HostServices.panelService = static_cast<const host::PanelService*>(Marker(0x62));

    EXPECT_EQ(ActivateInterface(), host::kServiceMissing);

    EXPECT_THAT(fakeHost.calls, ElementsAre("lookup(Instance Update,0)", "lookup(LWXPanel,0)"));
    ExpectSameRecord(record, HostsRecord(instance));
    // What was looked up stays stored, the missing service included.
    EXPECT_EQ(tarvelin::HostServices.globalLookup, RecordingHost::lookup());
    EXPECT_NE(tarvelin::HostServices.instanceUpdate, nullptr);
    EXPECT_EQ(tarvelin::HostServices.panelService, nullptr);
}

TEST_F(InterfaceActivation, WithoutInstanceUpdateStillBuildsThePanel) {
    fakeHost.instanceUpdate = nullptr;
    tarvelin::HostServices.instanceUpdate = reinterpret_cast<host::InstanceUpdateFunction>(Marker(0x61));

    EXPECT_EQ(ActivateInterface(), host::kActivated);

    EXPECT_EQ(tarvelin::HostServices.instanceUpdate, nullptr);
    EXPECT_EQ(record.panel, fakePanel.panel());
}

TEST_F(InterfaceActivation, PanelTheHostCannotMakeEndsTheActivationQuietly) {
    fakePanel.failCreate = true;

    EXPECT_EQ(ActivateInterface(), host::kActivated);

    EXPECT_THAT(fakeHost.calls, ElementsAre("lookup(Instance Update,0)", "lookup(LWXPanel,0)", "panel.create(1)"));
    ExpectSameRecord(record, HostsRecord(instance));
}

TEST_F(InterfaceActivation, EachActivationAsksForANewPanel) {
    ASSERT_EQ(ActivateInterface(), host::kActivated);
    record = HostsRecord(instance);
    ASSERT_EQ(ActivateInterface(), host::kActivated);

    EXPECT_EQ(fakePanel.createCalls, 2);
    EXPECT_EQ(record.panel, fakePanel.panel());
}

// The tables, word by word as the host reads them.

struct ExpectedRow {
    host::PanelWord id;
    const char* text;  // label or name
    const char* type;  // control class or value type
};

template <typename Row, std::size_t Size>
void ExpectRows(const Row (&rows)[Size], const std::vector<ExpectedRow>& expected,
                const char* Row::*text, const char* Row::*type) {
    ASSERT_EQ(Size, expected.size() + 1);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].id, expected[i].id);
        ASSERT_NE(rows[i].*text, nullptr);  // an empty text, never a null pointer
        EXPECT_STREQ(rows[i].*text, expected[i].text);
        ASSERT_NE(rows[i].*type, nullptr);
        EXPECT_STREQ(rows[i].*type, expected[i].type);
    }
    const Row& end = rows[expected.size()];
    EXPECT_EQ(end.id, 0u);
    EXPECT_EQ(end.*text, nullptr);
    EXPECT_EQ(end.*type, nullptr);
}

TEST(PanelTables, ControlsAreSevenRowsInIdOrderThenZeros) {
    ExpectRows(tarvelin::panelControls,
               {{0x8001, "Zoom Factor", "float-env"},
                {0x8002, "", "sInfo"},
                {0x8003, "Horizontal Shift", "percent-env"},
                {0x8004, "Vertical Shift", "percent-env"},
                {0x8005, "Direction", "angle-env"},
                {0x8006, "Angle", "angle-env"},
                {0x8007, "", "dThumbnail"}},
               &host::PanelControl::label, &host::PanelControl::controlClass);
}

TEST(PanelTables, DataDescriptionHasARowForEveryValueButTheDiagram) {
    ExpectRows(tarvelin::panelDataDescription,
               {{0x8001, "", "float-env"},
                {0x8002, "", "string"},
                {0x8003, "", "percent-env"},
                {0x8004, "", "percent-env"},
                {0x8005, "", "angle-env"},
                {0x8006, "", "angle-env"}},
               &host::PanelDataRow::name, &host::PanelDataRow::valueType);
}

constexpr host::PanelWord Signed(std::int32_t value) {
    return static_cast<host::PanelWord>(static_cast<std::intptr_t>(value));
}

std::array<host::PanelWord, 62> HintWords() {
    std::array<host::PanelWord, 62> words{};
    static_assert(sizeof words == sizeof tarvelin::panelHints);
    std::memcpy(words.data(), tarvelin::PanelHintWords(), sizeof words);
    return words;
}

TEST(PanelTables, HintsAreTheSixtyTwoWordsTheHostExpects) {
    const std::array<host::PanelWord, 62> words = HintWords();
    constexpr std::size_t kTitleWord = 21;
    ASSERT_NE(words[kTitleWord], 0u);
    EXPECT_STREQ(reinterpret_cast<const char*>(words[kTitleWord]), "Tarvelin Camera");
    const auto shutdown = reinterpret_cast<host::PanelWord>(&tarvelin::ModuleShutdown);
    const auto draw = reinterpret_cast<host::PanelWord>(&tarvelin::DrawTiltDiagram);

    const std::array<host::PanelWord, 62> expected = {
        0x3D01FE81, 0x8008, 0x8001, 0x8002, 0,  // GRP_ZOOM
        0x3D01FE81, 0x8009, 0x8003, 0x8004, 0,  // GRP_SHIFT
        0x3D01FE81, 0x800A, 0x8005, 0x8006, 0,  // GRP_TILT
        0x3D01FE81, 0x800B, 0x8007, 0,          // GRP_DIAGRAM
        0x3D000B03, 0, words[kTitleWord], 0,    // the panel's title
        0x3D000F01, shutdown,
        0x3D001302, shutdown, 0,
        0x3D014002, 0x8001, 0,
        0x3D014202, 0x8001, 1,
        0x3D014002, 0x8003, Signed(-1000),
        0x3D014102, 0x8003, 1000,
        0x3D014002, 0x8004, Signed(-1000),
        0x3D014102, 0x8004, 1000,
        0x3D014002, 0x8005, Signed(-360),
        0x3D014102, 0x8005, 360,
        0x3D014002, 0x8006, Signed(-90),
        0x3D014102, 0x8006, 90,
        0x3D016502, 0x8007, draw,
        0,
    };
    for (std::size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(words[i], expected[i]) << "word " << i;
    }
    // A limit is a 32-bit two's complement integer in the host's layout.
    EXPECT_EQ(static_cast<std::uint32_t>(words[36]), 0xFFFFFC18u);
}

// Read as the host reads them: each tag's low seven bits count its argument
// words, and a tag with bit 0x80 is followed by ids up to a zero word.
TEST(PanelTables, HintsReadEntryByEntryEndAtTheLastWord) {
    const std::array<host::PanelWord, 62> words = HintWords();
    std::vector<host::PanelWord> tags;
    std::size_t at = 0;
    while (at < words.size() && words[at] != 0) {
        const host::PanelWord tag = words[at];
        tags.push_back(tag);
        at += 1 + (tag & 0x7F);
        if ((tag & 0x80) != 0) {
            while (at < words.size() && words[at] != 0) ++at;
            ++at;  // the list's zero word
        }
    }
    EXPECT_EQ(at, words.size() - 1);
    EXPECT_EQ(tags.size(), 18u);
}

}  // namespace
