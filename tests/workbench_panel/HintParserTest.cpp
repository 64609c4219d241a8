// Reading panel hint arrays: the module's own layout, kept unknown entries,
// and every way an array can be malformed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/workbench_panel/GuardedWords.h"
#include "workbench/panel/HintParser.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using host::PanelId;
using host::PanelWord;
using namespace workbench::panel;
using workbench::panel::testing::GuardedWords;

constexpr PanelId kControls[] = {0x8001, 0x8002, 0x8003, 0x8004, 0x8005, 0x8006, 0x8007};

const char kTitle[] = "Tarvelin Camera";
void DoNothing() {}
void DrawNothing(host::PanelHandle, PanelId, host::DrawingArea) {}

PanelWord Word(const void* pointer) { return reinterpret_cast<PanelWord>(pointer); }
PanelWord Word(void (*function)()) { return reinterpret_cast<PanelWord>(function); }
PanelWord Word(host::PanelDrawFunction function) { return reinterpret_cast<PanelWord>(function); }
// A negative limit as the module writes it: widened with its sign.
PanelWord Signed(std::int32_t value) { return static_cast<PanelWord>(static_cast<std::intptr_t>(value)); }

// The settings panel's hint array, word for word.
std::vector<PanelWord> ModuleHints() {
    return {
        host::hint::kGroup, 0x8008, 0x8001, 0x8002, 0,
        host::hint::kGroup, 0x8009, 0x8003, 0x8004, 0,
        host::hint::kGroup, 0x800A, 0x8005, 0x8006, 0,
        host::hint::kGroup, 0x800B, 0x8007, 0,
        host::hint::kLabel, 0, Word(kTitle), 0,
        host::hint::kHostCallback, Word(DoNothing),
        host::hint::kHostCallback2, Word(DoNothing), 0,
        host::hint::kMinimum, 0x8001, 0,
        host::hint::kStep, 0x8001, 1,
        host::hint::kMinimum, 0x8003, Signed(-1000),
        host::hint::kMaximum, 0x8003, 1000,
        host::hint::kMinimum, 0x8004, Signed(-1000),
        host::hint::kMaximum, 0x8004, 1000,
        host::hint::kMinimum, 0x8005, Signed(-360),
        host::hint::kMaximum, 0x8005, 360,
        host::hint::kMinimum, 0x8006, Signed(-90),
        host::hint::kMaximum, 0x8006, 90,
        host::hint::kDrawFunction, 0x8007, Word(DrawNothing),
        host::hint::kEnd,
    };
}

ParsedHints Parse(const std::vector<PanelWord>& words) {
    const GuardedWords guarded(words);
    return ParseHints(guarded.words(), kControls);
}

TEST(HintParser, ReadsTheModulesArray) {
    const std::vector<PanelWord> words = ModuleHints();
    ASSERT_EQ(words.size(), 62u);

    const ParsedHints hints = Parse(words);

    EXPECT_EQ(hints.entryCount, 19u);
    EXPECT_EQ(hints.wordCount, 62u);
    ASSERT_EQ(hints.groups.size(), 4u);
    EXPECT_EQ(hints.groups[0].id, 0x8008u);
    EXPECT_THAT(hints.groups[0].members, ElementsAre(0x8001u, 0x8002u));
    EXPECT_THAT(hints.groups[1].members, ElementsAre(0x8003u, 0x8004u));
    EXPECT_THAT(hints.groups[2].members, ElementsAre(0x8005u, 0x8006u));
    EXPECT_EQ(hints.groups[3].id, 0x800Bu);
    EXPECT_THAT(hints.groups[3].members, ElementsAre(0x8007u));
    EXPECT_EQ(hints.title(), kTitle);

    EXPECT_EQ(hints.limits.at(0x8001).minimum, 0);
    EXPECT_EQ(hints.limits.at(0x8001).maximum, std::nullopt);
    EXPECT_EQ(hints.limits.at(0x8001).step, 1);
    EXPECT_EQ(hints.limits.at(0x8003).minimum, -1000);
    EXPECT_EQ(hints.limits.at(0x8004).maximum, 1000);
    EXPECT_EQ(hints.limits.at(0x8005).minimum, -360);
    EXPECT_EQ(hints.limits.at(0x8006).minimum, -90);
    EXPECT_EQ(hints.limits.at(0x8006).maximum, 90);
    EXPECT_FALSE(hints.limits.contains(0x8002));
    EXPECT_EQ(hints.drawing.at(0x8007), &DrawNothing);

    ASSERT_EQ(hints.hostCallbacks.size(), 2u);
    EXPECT_EQ(hints.hostCallbacks[0].entry, 6u);
    EXPECT_THAT(hints.hostCallbacks[0].arguments, ElementsAre(Word(DoNothing)));
    EXPECT_THAT(hints.hostCallbacks[1].arguments, ElementsAre(Word(DoNothing), 0u));
    EXPECT_TRUE(hints.unknown.empty());
}

TEST(HintParser, StopsAtTheEndTag) {
    // Words after the end tag may be anything, even a truncated entry.
    std::vector<PanelWord> words = {host::hint::kMinimum, 0x8001, 5, host::hint::kEnd, host::hint::kGroup, 0x8008};
    const ParsedHints hints = Parse(words);
    EXPECT_EQ(hints.wordCount, 4u);
    EXPECT_EQ(hints.limits.at(0x8001).minimum, 5);
    EXPECT_TRUE(hints.groups.empty());
}

TEST(HintParser, KeepsUnknownTagsAndSkipsThemByTheirCount) {
    const std::vector<PanelWord> words = {
        0x3D999902, 0x8001, 0x8002,          // two arguments that look like ids
        0x3D999981, 7, 0x8003, 0x8004, 0,    // one argument and an id list
        0x3D999900,                          // no arguments
        host::hint::kMinimum, 0x8001, 3,
        host::hint::kEnd,
    };
    const ParsedHints hints = Parse(words);

    ASSERT_EQ(hints.unknown.size(), 3u);
    EXPECT_EQ(hints.unknown[0].entry, 1u);
    EXPECT_THAT(hints.unknown[0].arguments, ElementsAre(0x8001u, 0x8002u));
    EXPECT_EQ(hints.unknown[1].tag, 0x3D999981u);
    EXPECT_THAT(hints.unknown[1].arguments, ElementsAre(7u));
    EXPECT_THAT(hints.unknown[1].idList, ElementsAre(0x8003u, 0x8004u));
    EXPECT_TRUE(hints.unknown[2].arguments.empty());
    EXPECT_EQ(hints.limits.at(0x8001).minimum, 3);
    EXPECT_EQ(hints.entryCount, 5u);
}

TEST(HintParser, ReadsLimitsWidenedWithOrWithoutTheirSign) {
    for (const PanelWord limit : {Signed(-1000), PanelWord{0xFFFFFC18}}) {
        const ParsedHints hints = Parse({host::hint::kMinimum, 0x8003, limit, host::hint::kEnd});
        EXPECT_EQ(hints.limits.at(0x8003).minimum, -1000) << std::hex << limit;
    }
    EXPECT_EQ(Parse({host::hint::kMaximum, 0x8003, 0x7FFFFFFF, host::hint::kEnd}).limits.at(0x8003).maximum, INT32_MAX);
}

TEST(HintParser, LabelsNameThePanelControlsAndGroupsOfTheArray) {
    const char lens[] = "Lens";
    const char zoom[] = "Zoom";
    // The group label comes before the group itself.
    const ParsedHints hints = Parse({host::hint::kLabel, 0x8008, Word(lens), 0, host::hint::kLabel, 0x8001, Word(zoom), 0,
                                     host::hint::kGroup, 0x8008, 0x8001, 0, host::hint::kEnd});
    ASSERT_EQ(hints.labels.size(), 2u);
    EXPECT_EQ(hints.labels[0].id, 0x8008u);
    EXPECT_EQ(hints.labels[0].text, lens);
    EXPECT_EQ(hints.labels[1].text, zoom);
    EXPECT_EQ(hints.title(), nullptr);
}

struct MalformedCase {
    const char* name;
    std::vector<PanelWord> words;
    std::size_t entry;
    std::size_t word;
    const char* cause;
};

void PrintTo(const MalformedCase& c, std::ostream* out) { *out << c.name; }

class MalformedHints : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedHints, AreRejectedWithTheEntryAndCause) {
    const MalformedCase& bad = GetParam();
    const GuardedWords guarded(bad.words);
    try {
        ParseHints(guarded.words(), kControls);
        FAIL() << "accepted";
    } catch (const HintError& error) {
        EXPECT_EQ(error.entry(), bad.entry);
        EXPECT_EQ(error.word(), bad.word);
        EXPECT_THAT(error.cause(), HasSubstr(bad.cause));
        EXPECT_THAT(error.what(), HasSubstr("entry " + std::to_string(bad.entry)));
        EXPECT_THAT(error.what(), HasSubstr(bad.cause));
    }
}

const MalformedCase kMalformed[] = {
    {"Empty", {}, 1, 0, "no end tag within 0 words"},
    {"NoEndTag", {host::hint::kMinimum, 0x8001, 0}, 2, 3, "no end tag within 3 words"},
    {"TruncatedEntry", {host::hint::kGroup, 0x8008, 0, host::hint::kMinimum, 0x8001}, 2, 3, "needs 2 argument words, only 1 remain"},
    {"TruncatedUnknownEntry", {0x3D999905, 1, 2}, 1, 0, "needs 5 argument words, only 2 remain"},
    {"GroupWithoutArgument", {host::hint::kGroup}, 1, 0, "needs 1 argument words, only 0 remain"},
    {"UnendedIdList", {host::hint::kGroup, 0x8008, 0x8001, 0x8002}, 1, 0, "id list has no 0 end within 4 words"},
    {"UnendedUnknownIdList", {0x3D999980, 5, 6}, 1, 0, "id list has no 0 end"},
    {"MemberNamesNoControl", {host::hint::kGroup, 0x8008, 0x8001, 0x9000, 0, host::hint::kEnd}, 1, 0, "member 0x9000 names no control"},
    {"MemberIsAGroup", {host::hint::kGroup, 0x8008, 0x8001, 0, host::hint::kGroup, 0x8009, 0x8008, 0, host::hint::kEnd}, 2, 4,
     "member 0x8008 names no control"},
    {"MemberInTwoGroups", {host::hint::kGroup, 0x8008, 0x8001, 0, host::hint::kGroup, 0x8009, 0x8001, 0, host::hint::kEnd}, 2, 4,
     "control 0x8001 is already in group 0x8008"},
    {"GroupIdZero", {host::hint::kGroup, 0, 0x8001, 0, host::hint::kEnd}, 1, 0, "group id is 0"},
    {"GroupIdIsAControl", {host::hint::kGroup, 0x8001, 0x8002, 0, host::hint::kEnd}, 1, 0, "group id 0x8001 is a control id"},
    {"GroupTwice", {host::hint::kGroup, 0x8008, 0, host::hint::kGroup, 0x8008, 0, host::hint::kEnd}, 2, 3, "group 0x8008 is declared twice"},
    {"MinimumOfNoControl", {host::hint::kMinimum, 0x9000, 0, host::hint::kEnd}, 1, 0, "control 0x9000 names no control"},
    {"MaximumOfNoControl", {host::hint::kStep, 0x8001, 1, host::hint::kMaximum, 0, 5, host::hint::kEnd}, 2, 3, "control 0x0 names no control"},
    {"StepOfNoControl", {host::hint::kStep, 0x800B, 1, host::hint::kEnd}, 1, 0, "control 0x800B names no control"},
    {"LimitWiderThan32Bits", {host::hint::kMaximum, 0x8001, PanelWord{0x100000005}, host::hint::kEnd}, 1, 0,
     "maximum 0x100000005 is not a 32-bit integer"},
    {"IdWiderThan32Bits", {host::hint::kMinimum, PanelWord{0x100008001}, 0, host::hint::kEnd}, 1, 0,
     "control 0x100008001 does not fit 32 bits"},
    {"MinimumAboveMaximum", {host::hint::kMaximum, 0x8003, 10, host::hint::kMinimum, 0x8003, 11, host::hint::kEnd}, 2, 3,
     "minimum 11 of control 0x8003 is above its maximum 10"},
    {"DrawingOfNoControl", {host::hint::kDrawFunction, 0x8010, 1, host::hint::kEnd}, 1, 0, "control 0x8010 names no control"},
    {"NullDrawingCallback", {host::hint::kDrawFunction, 0x8007, 0, host::hint::kEnd}, 1, 0, "drawing callback of control 0x8007 is null"},
    {"LabelOfNothing", {host::hint::kMinimum, 0x8001, 0, host::hint::kLabel, 0x9000, 0, 0, host::hint::kEnd}, 2, 3,
     "label id 0x9000 names no control or group"},
};

INSTANTIATE_TEST_SUITE_P(Cases, MalformedHints, ::testing::ValuesIn(kMalformed),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HintParser, RejectsTheModulesArrayCutShortAnywhere) {
    // Every prefix of a well-formed array lacks its end tag somewhere; none
    // may be read past its last word.
    const std::vector<PanelWord> words = ModuleHints();
    for (std::size_t length = 0; length < words.size(); ++length) {
        const GuardedWords guarded({words.begin(), words.begin() + static_cast<std::ptrdiff_t>(length)});
        EXPECT_THROW(ParseHints(guarded.words(), kControls), HintError) << length << " words";
    }
}

TEST(HintParser, AnswersArbitraryWordsWithHintsOrAHintError) {
    // Words mostly from the array's own vocabulary, so that entries get far
    // before they break; each array ends at an unreadable page.
    const PanelWord vocabulary[] = {host::hint::kGroup, host::hint::kLabel, host::hint::kMinimum, host::hint::kMaximum, host::hint::kStep, host::hint::kDrawFunction,
                                    host::hint::kHostCallback, host::hint::kHostCallback2, 0x3D9999FF, 0, 0, 0x8001, 0x8007, 0x8008,
                                    Signed(-1), PanelWord{0x100000000}};
    std::mt19937_64 random(20261211);
    std::size_t parsed = 0;
    std::size_t rejected = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<PanelWord> words(random() % 24);
        for (PanelWord& word : words) {
            word = random() % 8 == 0 ? static_cast<PanelWord>(random()) : vocabulary[random() % std::size(vocabulary)];
        }
        const GuardedWords guarded(words);
        try {
            const ParsedHints hints = ParseHints(guarded.words(), kControls);
            EXPECT_LE(hints.wordCount, words.size());
            ++parsed;
        } catch (const HintError& error) {
            EXPECT_GE(error.entry(), 1u);
            EXPECT_LE(error.word(), words.size());
            ++rejected;
        }
    }
    // Both outcomes must have been reached for the run to mean anything.
    EXPECT_GT(parsed, 100u);
    EXPECT_GT(rejected, 100u);
}

}  // namespace
