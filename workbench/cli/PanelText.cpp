#include "workbench/cli/PanelText.h"

#include <fmt/format.h>

namespace workbench::cli {

namespace {

using panel::ControlKind;

std::string UnitOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Percent:
        return " %";
    case ControlKind::Angle:
        return " deg";
    default:
        return "";
    }
}

std::string LimitsText(const panel::LayoutControl& control) {
    const std::string unit = UnitOf(control.value.kind);
    std::string text;
    const auto add = [&](const char* name, const std::optional<std::int32_t>& limit) {
        if (!limit) return;
        text += fmt::format("{}{} {}{}", text.empty() ? "" : ", ", name, *limit, unit);
    };
    add("min", control.limits.minimum);
    add("max", control.limits.maximum);
    add("step", control.limits.step);
    return text;
}

std::string ValueText(const panel::LayoutControl& control) {
    switch (control.value.kind) {
    case ControlKind::Number:
    case ControlKind::Percent:
    case ControlKind::Angle:
        return fmt::format("{:g}{}", control.value.shown, UnitOf(control.value.kind));
    case ControlKind::Text:
        return control.value.text;
    case ControlKind::Thumbnail:
        return control.drawn ? "(a drawing; --out writes it as PNG)" : "(a drawing with no drawing function)";
    case ControlKind::Unknown:
        break;
    }
    return "(not shown: control class \"" + control.controlClass + "\")";
}

void AddControl(std::string& text, const panel::LayoutControl& control) {
    const std::string value = ValueText(control);
    const std::string limits = LimitsText(control);
    std::string line = fmt::format("    {:<18} {}", control.label, value);
    if (!limits.empty()) line = fmt::format("{:<42} {}", line, limits);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line + "\n";
}

}  // namespace

std::string FormatPanel(const panel::PanelLayout& layout) {
    std::string text = (layout.title.empty() ? "(untitled panel)" : layout.title) + "\n";
    for (const auto& group : layout.groups) {
        text += group.label.empty() ? fmt::format("  group {:#x}\n", group.id) : "  " + group.label + "\n";
        for (const auto& control : group.controls) AddControl(text, control);
    }
    if (!layout.ungrouped.empty()) {
        text += "  (no group)\n";
        for (const auto& control : layout.ungrouped) AddControl(text, control);
    }
    return text;
}

}  // namespace workbench::cli
