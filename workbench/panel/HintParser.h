#pragma once
// Reads a module's panel hint array: a flat run of words in which each entry
// is a tag followed by its argument words. The low seven bits of a tag count
// its arguments; when bit 0x80 is set, the arguments are followed by a list
// of ids ended by a 0 word. A 0 tag ends the array.
//
// The parser reads words in order and stops at the end tag, so it never looks
// past a well-formed array; a malformed one is rejected with a HintError
// before any word beyond the given span is read. Text and function pointers
// are kept as they stand and never followed.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/PanelService.h"

namespace workbench::panel {

// A malformed hint array. `entry` counts from 1 in array order; `word` is the
// offset of the entry's tag.
class HintError : public std::runtime_error {
public:
    HintError(std::size_t entry, std::size_t word, host::PanelWord tag, const std::string& cause);

    std::size_t entry() const { return entry_; }
    std::size_t word() const { return word_; }
    host::PanelWord tag() const { return tag_; }
    const std::string& cause() const { return cause_; }

private:
    std::size_t entry_;
    std::size_t word_;
    host::PanelWord tag_;
    std::string cause_;
};

struct HintGroup {
    host::PanelId id = 0;
    std::vector<host::PanelId> members;
};

struct HintLabel {
    host::PanelId id = 0;      // 0 names the panel itself
    const char* text = nullptr; // not read by the parser
};

struct HintLimits {
    std::optional<std::int32_t> minimum;
    std::optional<std::int32_t> maximum;
    std::optional<std::int32_t> step;
};

// An entry the workbench keeps without acting on it: the two host callbacks
// and every tag it does not know.
struct HintEntry {
    std::size_t entry = 0;
    host::PanelWord tag = 0;
    std::vector<host::PanelWord> arguments;
    std::vector<host::PanelWord> idList;  // only for tags with bit 0x80
};

struct ParsedHints {
    std::vector<HintGroup> groups;  // in array order
    std::vector<HintLabel> labels;  // in array order; a later label of an id wins
    std::map<host::PanelId, HintLimits> limits;
    std::map<host::PanelId, host::PanelDrawFunction> drawing;
    std::vector<HintEntry> hostCallbacks;
    std::vector<HintEntry> unknown;
    std::size_t entryCount = 0;  // the end tag included
    std::size_t wordCount = 0;   // the end tag included

    // The title text pointer from a label of id 0, or null.
    const char* title() const;
};

// Parses `words` up to and including the end tag. Member lists, limits and
// drawing callbacks must name one of `controlIds`; labels must name 0, a
// control or a group of the array. Throws HintError on the first fault.
ParsedHints ParseHints(std::span<const host::PanelWord> words, std::span<const host::PanelId> controlIds);

}  // namespace workbench::panel
