// The stand-in host's panel hint parser with any run of words, parsed over
// exactly the words given (a heap block of that size, so AddressSanitizer
// stops any read past it), against the camera panel's control ids.
//
// Invariants: the parser gives hints or throws HintError, never another
// exception, and never reads past the span; what it gives is consistent with
// the words: the end tag it stopped at lies within the span, every group
// member, limit and drawing callback names a control, no control is in two
// groups, and no minimum lies above its maximum.
//
// Input: the words, 8 bytes each, little-endian; a tail shorter than a word
// is ignored.

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <span>

#include "fuzz/FuzzInput.h"
#include "workbench/panel/HintParser.h"

namespace {

constexpr host::PanelId kControlIds[] = {0x8001, 0x8002, 0x8003, 0x8004, 0x8005, 0x8006, 0x8007};

bool IsControl(host::PanelId id) {
    for (host::PanelId control : kControlIds) {
        if (control == id) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t count = size / sizeof(host::PanelWord);
    // Exactly `count` words: no slack after them for a stray read to land in.
    const std::unique_ptr<host::PanelWord[]> words(new host::PanelWord[count]);
    if (count > 0) std::memcpy(words.get(), data, count * sizeof(host::PanelWord));
    const std::span<const host::PanelWord> span(words.get(), count);

    workbench::panel::ParsedHints hints;
    try {
        hints = workbench::panel::ParseHints(span, kControlIds);
    } catch (const workbench::panel::HintError& error) {
        FUZZ_CHECK(error.word() <= count);
        return 0;
    }

    FUZZ_CHECK(hints.wordCount >= 1 && hints.wordCount <= count);
    FUZZ_CHECK(span[hints.wordCount - 1] == host::hint::kEnd);
    FUZZ_CHECK(hints.entryCount >= 1 && hints.entryCount <= hints.wordCount);
    std::set<host::PanelId> grouped;
    for (const workbench::panel::HintGroup& group : hints.groups) {
        FUZZ_CHECK(group.id != 0 && !IsControl(group.id));
        for (host::PanelId member : group.members) {
            FUZZ_CHECK(IsControl(member));
            FUZZ_CHECK(grouped.insert(member).second);
        }
    }
    for (const auto& [id, limits] : hints.limits) {
        FUZZ_CHECK(IsControl(id));
        if (limits.minimum && limits.maximum) FUZZ_CHECK(*limits.minimum <= *limits.maximum);
    }
    for (const auto& [id, draw] : hints.drawing) FUZZ_CHECK(IsControl(id) && draw != nullptr);
    return 0;
}
