#include "workbench/panel/HintParser.h"

#include <algorithm>
#include <fmt/format.h>
#include <set>

namespace workbench::panel {

namespace {

std::string Hex(host::PanelWord word) { return fmt::format("0x{:X}", word); }

// Walks the array one word at a time and turns every fault into a HintError
// that names the entry being read.
class HintReader {
public:
    HintReader(std::span<const host::PanelWord> words, std::span<const host::PanelId> controlIds)
        : words_(words), controls_(controlIds.begin(), controlIds.end()) {}

    ParsedHints Parse() {
        while (true) {
            ++entry_;
            tagWord_ = next_;
            if (next_ >= words_.size()) {
                tag_ = 0;
                Fail(fmt::format("no end tag within {} words", words_.size()));
            }
            tag_ = words_[next_++];
            if (tag_ == host::hint::kEnd) break;
            ReadEntry();
        }
        CheckLabels();
        hints_.entryCount = entry_;
        hints_.wordCount = next_;
        return std::move(hints_);
    }

private:
    [[noreturn]] void Fail(const std::string& cause) const { throw HintError(entry_, tagWord_, tag_, cause); }

    void ReadEntry() {
        const std::size_t count = host::hint::ArgumentWords(tag_);
        if (words_.size() - next_ < count) {
            Fail(fmt::format("needs {} argument words, only {} remain within {} words", count,
                             words_.size() - next_, words_.size()));
        }
        const std::span<const host::PanelWord> arguments = words_.subspan(next_, count);
        next_ += count;
        std::vector<host::PanelWord> idList;
        if (host::hint::IsFollowedByIdList(tag_)) idList = ReadIdList();

        switch (tag_) {
        case host::hint::kGroup: AddGroup(arguments, idList); break;
        case host::hint::kLabel: AddLabel(arguments); break;
        case host::hint::kHostCallback:
        case host::hint::kHostCallback2: hints_.hostCallbacks.push_back(Keep(arguments, idList)); break;
        case host::hint::kMinimum: SetLimit(arguments, &HintLimits::minimum, "minimum"); break;
        case host::hint::kMaximum: SetLimit(arguments, &HintLimits::maximum, "maximum"); break;
        case host::hint::kStep: SetLimit(arguments, &HintLimits::step, "step"); break;
        case host::hint::kDrawFunction: AddDrawing(arguments); break;
        default: hints_.unknown.push_back(Keep(arguments, idList)); break;
        }
    }

    std::vector<host::PanelWord> ReadIdList() {
        std::vector<host::PanelWord> ids;
        while (true) {
            if (next_ >= words_.size()) Fail(fmt::format("id list has no 0 end within {} words", words_.size()));
            const host::PanelWord word = words_[next_++];
            if (word == 0) return ids;
            ids.push_back(word);
        }
    }

    HintEntry Keep(std::span<const host::PanelWord> arguments, std::vector<host::PanelWord> idList) const {
        return {entry_, tag_, {arguments.begin(), arguments.end()}, std::move(idList)};
    }

    host::PanelId Id(host::PanelWord word, const char* what) const {
        if (word > 0xFFFFFFFFu) Fail(fmt::format("{} {} does not fit 32 bits", what, Hex(word)));
        return static_cast<host::PanelId>(word);
    }

    host::PanelId ControlId(host::PanelWord word, const char* what) const {
        const host::PanelId id = Id(word, what);
        if (!controls_.contains(id)) Fail(fmt::format("{} {} names no control", what, Hex(word)));
        return id;
    }

    static const char* Text(host::PanelWord word) { return reinterpret_cast<const char*>(word); }

    // A signed 32-bit value, whether the module widened it with or without its sign.
    std::int32_t Signed32(host::PanelWord word, const char* what) const {
        const auto low = static_cast<std::uint32_t>(word);
        const auto value = static_cast<std::int32_t>(low);
        const auto signExtended = static_cast<host::PanelWord>(static_cast<std::intptr_t>(value));
        if (word != low && word != signExtended) Fail(fmt::format("{} {} is not a 32-bit integer", what, Hex(word)));
        return value;
    }

    void AddGroup(std::span<const host::PanelWord> arguments, const std::vector<host::PanelWord>& idList) {
        HintGroup group{Id(arguments[0], "group id"), {}};
        if (group.id == 0) Fail("group id is 0");
        if (controls_.contains(group.id)) Fail(fmt::format("group id {} is a control id", Hex(group.id)));
        if (groupIds_.contains(group.id)) Fail(fmt::format("group {} is declared twice", Hex(group.id)));
        for (host::PanelWord word : idList) {
            const host::PanelId member = ControlId(word, "member");
            if (const auto owner = memberOf_.find(member); owner != memberOf_.end()) {
                Fail(fmt::format("control {} is already in group {}", Hex(member), Hex(owner->second)));
            }
            memberOf_[member] = group.id;
            group.members.push_back(member);
        }
        groupIds_.insert(group.id);
        hints_.groups.push_back(std::move(group));
    }

    void SetLimit(std::span<const host::PanelWord> arguments, std::optional<std::int32_t> HintLimits::*field,
                  const char* what) {
        const host::PanelId id = ControlId(arguments[0], "control");
        HintLimits& limits = hints_.limits[id];
        limits.*field = Signed32(arguments[1], what);
        if (limits.minimum && limits.maximum && *limits.minimum > *limits.maximum) {
            Fail(fmt::format("minimum {} of control {} is above its maximum {}", *limits.minimum, Hex(id),
                             *limits.maximum));
        }
    }

    void AddDrawing(std::span<const host::PanelWord> arguments) {
        const host::PanelId id = ControlId(arguments[0], "control");
        if (arguments[1] == 0) Fail(fmt::format("drawing callback of control {} is null", Hex(id)));
        hints_.drawing[id] = reinterpret_cast<host::PanelDrawFunction>(arguments[1]);
    }

    void AddLabel(std::span<const host::PanelWord> arguments) {
        const host::PanelId id = Id(arguments[0], "label id");
        hints_.labels.push_back({id, Text(arguments[1])});
        if (id != 0 && !controls_.contains(id)) labelsToCheck_.push_back({entry_, tagWord_, id});
    }

    // Labels may name a group declared further on, so they are checked last;
    // the fault still names the label's own entry.
    void CheckLabels() const {
        for (const PendingLabel& label : labelsToCheck_) {
            if (!groupIds_.contains(label.id)) {
                throw HintError(label.entry, label.word, host::hint::kLabel,
                                fmt::format("label id {} names no control or group", Hex(label.id)));
            }
        }
    }

    struct PendingLabel {
        std::size_t entry;
        std::size_t word;
        host::PanelId id;
    };

    std::span<const host::PanelWord> words_;
    std::set<host::PanelId> controls_;
    std::set<host::PanelId> groupIds_;
    std::map<host::PanelId, host::PanelId> memberOf_;
    std::vector<PendingLabel> labelsToCheck_;
    ParsedHints hints_;
    std::size_t next_ = 0;
    std::size_t entry_ = 0;
    std::size_t tagWord_ = 0;
    host::PanelWord tag_ = 0;
};

}  // namespace

HintError::HintError(std::size_t entry, std::size_t word, host::PanelWord tag, const std::string& cause)
    : std::runtime_error(fmt::format("panel hint entry {} (word {}, tag {}): {}", entry, word, Hex(tag), cause)),
      entry_(entry),
      word_(word),
      tag_(tag),
      cause_(cause) {}

const char* ParsedHints::title() const {
    const char* title = nullptr;
    for (const HintLabel& label : labels) {
        if (label.id == 0) title = label.text;
    }
    return title;
}

ParsedHints ParseHints(std::span<const host::PanelWord> words, std::span<const host::PanelId> controlIds) {
    return HintReader(words, controlIds).Parse();
}

}  // namespace workbench::panel
