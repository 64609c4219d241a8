#include "workbench/panel/PanelValues.h"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>
#include <numbers>
#include <stdexcept>

namespace workbench::panel {

namespace {

struct ClassInfo {
    std::string_view controlClass;
    ControlKind kind;
    std::string_view valueType;  // the data description's type for it; empty: no value
};

constexpr ClassInfo kClasses[] = {
    {"float-env", ControlKind::Number, "float-env"},
    {"percent-env", ControlKind::Percent, "percent-env"},
    {"angle-env", ControlKind::Angle, "angle-env"},
    {"sInfo", ControlKind::Text, "string"},
    {"dThumbnail", ControlKind::Thumbnail, ""},
};

std::string_view ValueTypeOf(ControlKind kind) {
    for (const ClassInfo& info : kClasses) {
        if (info.kind == kind) return info.valueType;
    }
    return {};
}

[[noreturn]] void Fail(host::PanelId id, const std::string& cause) {
    throw std::runtime_error(fmt::format("control 0x{:X}: {}", id, cause));
}

}  // namespace

ControlKind KindOfControlClass(std::string_view controlClass) {
    for (const ClassInfo& info : kClasses) {
        if (info.controlClass == controlClass) return info.kind;
    }
    return ControlKind::Unknown;
}

bool IsEnvelope(ControlKind kind) {
    return kind == ControlKind::Number || kind == ControlKind::Percent || kind == ControlKind::Angle;
}

double ToPanelUnits(ControlKind kind, double stored) {
    switch (kind) {
    case ControlKind::Percent: return stored * 100.0;
    case ControlKind::Angle: return stored * (180.0 / std::numbers::pi);
    default: return stored;
    }
}

double FromPanelUnits(ControlKind kind, double shown) {
    switch (kind) {
    case ControlKind::Percent: return shown / 100.0;
    case ControlKind::Angle: return shown * (std::numbers::pi / 180.0);
    default: return shown;
    }
}

PanelValues::PanelValues(const host::ParameterService* parameters, TimeSource currentTime)
    : parameters_(parameters), currentTime_(std::move(currentTime)) {
    if (!currentTime_) throw std::invalid_argument("panel values need a time source");
}

const PanelControlInfo& PanelValues::readableControl(const Panel& panel, host::PanelId id) const {
    if (!panel.valid()) throw std::runtime_error(fmt::format("the panel is invalid: {}", panel.error()));
    const PanelControlInfo* control = panel.control(id);
    if (control == nullptr) Fail(id, "no such control");
    const ControlKind kind = KindOfControlClass(control->controlClass);
    if (kind == ControlKind::Unknown) Fail(id, fmt::format("control class \"{}\" is unknown", control->controlClass));
    if (kind == ControlKind::Thumbnail) return *control;
    if (!panel.described()) Fail(id, "the panel has no data description");
    const PanelDataInfo* row = panel.dataRow(id);
    if (row == nullptr) Fail(id, "the data description has no row for it");
    if (row->valueType != ValueTypeOf(kind)) {
        Fail(id, fmt::format("value type \"{}\" does not suit control class \"{}\"", row->valueType,
                             control->controlClass));
    }
    if (panel.instance() == nullptr) Fail(id, "the panel views no instance");
    return *control;
}

PanelValue PanelValues::read(const Panel& panel, host::PanelId id) const {
    const PanelControlInfo& control = readableControl(panel, id);
    PanelValue value;
    value.kind = KindOfControlClass(control.controlClass);
    if (value.kind == ControlKind::Thumbnail) return value;

    void* answer = panel.getFunction()(panel.instance(), id);
    if (value.kind == ControlKind::Text) {
        value.text = CopyModuleText(static_cast<const char*>(answer), "the control's text");
        return value;
    }
    if (answer == nullptr) Fail(id, "the get function gave no parameter");
    if (parameters_ == nullptr) Fail(id, "no parameter service to read the parameter");
    double result[3] = {};
    parameters_->value(answer, currentTime_(), nullptr, result);
    value.parameter = answer;
    value.stored = result[0];
    value.shown = ToPanelUnits(value.kind, value.stored);
    return value;
}

int PanelValues::edit(const Panel& panel, host::PanelId id, double shown) const {
    const PanelControlInfo& control = readableControl(panel, id);
    const ControlKind kind = KindOfControlClass(control.controlClass);
    if (!IsEnvelope(kind)) Fail(id, fmt::format("a \"{}\" control cannot be edited", control.controlClass));
    if (!std::isfinite(shown)) Fail(id, fmt::format("{} is not a finite number", shown));
    const HintLimits limits = panel.limits(id);
    if ((limits.minimum && shown < *limits.minimum) || (limits.maximum && shown > *limits.maximum)) {
        Fail(id, fmt::format("{} is outside its limits {} to {}", shown,
                             limits.minimum ? std::to_string(*limits.minimum) : "-",
                             limits.maximum ? std::to_string(*limits.maximum) : "-"));
    }
    if (parameters_ == nullptr) Fail(id, "no parameter service to set the parameter");

    void* parameter = panel.getFunction()(panel.instance(), id);
    if (parameter == nullptr) Fail(id, "the get function gave no parameter");
    double stored = FromPanelUnits(kind, shown);
    parameters_->setValue(parameter, &stored);
    return panel.setFunction()(panel.instance(), id, &stored);
}

PanelLayout PanelValues::layout(const Panel& panel) const {
    if (!panel.valid()) throw std::runtime_error(fmt::format("the panel is invalid: {}", panel.error()));
    // A control of a class the workbench does not know is listed without a value.
    auto entryFor = [&](const PanelControlInfo& control) {
        const ControlKind kind = KindOfControlClass(control.controlClass);
        return LayoutControl{control.id, control.label, control.controlClass, panel.limits(control.id),
                             panel.drawing(control.id) != nullptr,
                             kind == ControlKind::Unknown ? PanelValue{.kind = kind, .text = {}} : read(panel, control.id)};
    };
    PanelLayout layout{panel.title(), {}, {}};
    std::vector<host::PanelId> grouped;
    for (const PanelGroup& group : panel.groups()) {
        LayoutGroup& shown = layout.groups.emplace_back(LayoutGroup{group.id, group.label, {}});
        for (host::PanelId member : group.members) {
            shown.controls.push_back(entryFor(*panel.control(member)));
            grouped.push_back(member);
        }
    }
    for (const PanelControlInfo& control : panel.controls()) {
        if (std::ranges::find(grouped, control.id) == grouped.end()) layout.ungrouped.push_back(entryFor(control));
    }
    return layout;
}

}  // namespace workbench::panel
