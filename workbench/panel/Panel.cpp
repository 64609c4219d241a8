#include "workbench/panel/Panel.h"

#include <algorithm>
#include <cstring>
#include <fmt/format.h>
#include <stdexcept>

namespace workbench::panel {

namespace {

std::string Hex(std::uint64_t value) { return fmt::format("0x{:X}", value); }

host::PanelId RowId(host::PanelWord word, std::size_t row, const char* table) {
    if (word > 0xFFFFFFFFu) {
        throw std::invalid_argument(fmt::format("{} row {}: id {} does not fit 32 bits", table, row, Hex(word)));
    }
    return static_cast<host::PanelId>(word);
}

}  // namespace

std::string CopyModuleText(const char* text, const char* what) {
    if (text == nullptr) return {};
    const std::size_t length = strnlen(text, Panel::kMaxTextLength + 1);
    if (length > Panel::kMaxTextLength) {
        throw std::invalid_argument(fmt::format("{} is longer than {} characters", what, Panel::kMaxTextLength));
    }
    return std::string(text, length);
}

Panel::Panel(int type, const host::PanelControl* controls) : type_(type) {
    if (type != host::kPanelTypeFunctions) {
        throw std::invalid_argument(fmt::format("panel type {} is not the function panel type {}", type,
                                                host::kPanelTypeFunctions));
    }
    if (controls == nullptr) throw std::invalid_argument("the control table is null");
    for (std::size_t row = 0;; ++row) {
        if (row == kMaxTableRows) {
            throw std::invalid_argument(fmt::format("control table has no row of zeros within {} rows", kMaxTableRows));
        }
        const host::PanelControl& entry = controls[row];
        if (entry.id == 0) break;
        const host::PanelId id = RowId(entry.id, row, "control table");
        if (control(id) != nullptr) {
            throw std::invalid_argument(fmt::format("control table row {}: id {} appears twice", row, Hex(id)));
        }
        if (entry.controlClass == nullptr) {
            throw std::invalid_argument(fmt::format("control table row {}: control {} has no class", row, Hex(id)));
        }
        controls_.push_back({id, CopyModuleText(entry.label, "a control label"),
                             CopyModuleText(entry.controlClass, "a control class")});
    }
}

const PanelControlInfo* Panel::control(host::PanelId id) const {
    const auto found = std::ranges::find(controls_, id, &PanelControlInfo::id);
    return found == controls_.end() ? nullptr : &*found;
}

std::vector<host::PanelId> Panel::controlIds() const {
    std::vector<host::PanelId> ids;
    for (const PanelControlInfo& entry : controls_) ids.push_back(entry.id);
    return ids;
}

void Panel::describe(const host::PanelDataRow* data, host::PanelGetFunction get, host::PanelSetFunction set) {
    if (data == nullptr) throw std::invalid_argument("the data description is null");
    if (get == nullptr || set == nullptr) throw std::invalid_argument("a function panel needs get and set functions");
    std::vector<PanelDataInfo> rows;
    for (std::size_t row = 0;; ++row) {
        if (row == kMaxTableRows) {
            throw std::invalid_argument(
                fmt::format("data description has no row of zeros within {} rows", kMaxTableRows));
        }
        const host::PanelDataRow& entry = data[row];
        if (entry.id == 0) break;
        const host::PanelId id = RowId(entry.id, row, "data description");
        if (control(id) == nullptr) {
            throw std::invalid_argument(fmt::format("data description row {}: id {} names no control", row, Hex(id)));
        }
        if (std::ranges::find(rows, id, &PanelDataInfo::id) != rows.end()) {
            throw std::invalid_argument(fmt::format("data description row {}: id {} appears twice", row, Hex(id)));
        }
        if (entry.valueType == nullptr) {
            throw std::invalid_argument(fmt::format("data description row {}: id {} has no value type", row, Hex(id)));
        }
        rows.push_back({id, CopyModuleText(entry.name, "a value name"),
                        CopyModuleText(entry.valueType, "a value type")});
    }
    data_ = std::move(rows);
    get_ = get;
    set_ = set;
    described_ = true;
}

const PanelDataInfo* Panel::dataRow(host::PanelId id) const {
    const auto found = std::ranges::find(data_, id, &PanelDataInfo::id);
    return found == data_.end() ? nullptr : &*found;
}

void Panel::applyHints(const ParsedHints& hints) {
    for (const HintGroup& group : hints.groups) {
        if (std::ranges::find(groups_, group.id, &PanelGroup::id) != groups_.end()) {
            throw std::invalid_argument(fmt::format("group {} was declared by an earlier hint array", Hex(group.id)));
        }
    }
    for (const HintGroup& group : hints.groups) groups_.push_back({group.id, {}, group.members});
    for (const HintLabel& label : hints.labels) {
        std::string text = CopyModuleText(label.text, "a label hint");
        if (label.id == 0) {
            title_ = std::move(text);
        } else if (const auto group = std::ranges::find(groups_, label.id, &PanelGroup::id); group != groups_.end()) {
            group->label = std::move(text);
        } else {
            std::ranges::find(controls_, label.id, &PanelControlInfo::id)->label = std::move(text);
        }
    }
    for (const auto& [id, limits] : hints.limits) {
        HintLimits& kept = limits_[id];
        if (limits.minimum) kept.minimum = limits.minimum;
        if (limits.maximum) kept.maximum = limits.maximum;
        if (limits.step) kept.step = limits.step;
    }
    for (const auto& [id, function] : hints.drawing) drawing_[id] = function;
    keptHints_.insert(keptHints_.end(), hints.hostCallbacks.begin(), hints.hostCallbacks.end());
    keptHints_.insert(keptHints_.end(), hints.unknown.begin(), hints.unknown.end());
}

HintLimits Panel::limits(host::PanelId id) const {
    const auto found = limits_.find(id);
    return found == limits_.end() ? HintLimits{} : found->second;
}

host::PanelDrawFunction Panel::drawing(host::PanelId id) const {
    const auto found = drawing_.find(id);
    return found == drawing_.end() ? nullptr : found->second;
}

void* Panel::attached(host::PanelId id) const {
    const auto found = attachedData_.find(id);
    return found == attachedData_.end() ? nullptr : found->second;
}

void Panel::invalidate(std::string error) {
    if (!error_) error_ = std::move(error);
}

const std::string& Panel::error() const {
    static const std::string none;
    return error_ ? *error_ : none;
}

}  // namespace workbench::panel
