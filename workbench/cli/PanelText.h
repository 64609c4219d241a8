#pragma once
// A laid-out panel as text: its title, its groups and each control's label,
// value in the panel's units and limits.

#include <string>

#include "workbench/panel/PanelValues.h"

namespace workbench::cli {

std::string FormatPanel(const panel::PanelLayout& layout);

}  // namespace workbench::cli
