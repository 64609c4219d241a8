#pragma once
// Reads and edits a panel's values the way the host does, through the
// panel's get and set functions and the host's parameter service, and lays a
// panel out for display in the units the panel shows.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/PanelService.h"
#include "host/Services.h"
#include "workbench/panel/HintParser.h"
#include "workbench/panel/Panel.h"

namespace workbench::panel {

// What a control class holds, as far as the workbench understands it.
enum class ControlKind {
    Number,     // "float-env": a parameter, shown as it is
    Percent,    // "percent-env": a parameter holding a fraction, shown ×100
    Angle,      // "angle-env": a parameter in radians, shown in degrees
    Text,       // "sInfo": a read-only text
    Thumbnail,  // "dThumbnail": drawn, no value
    Unknown,
};

ControlKind KindOfControlClass(std::string_view controlClass);
bool IsEnvelope(ControlKind kind);
// Between the value a parameter holds and the value the panel shows.
double ToPanelUnits(ControlKind kind, double stored);
double FromPanelUnits(ControlKind kind, double shown);

struct PanelValue {
    ControlKind kind = ControlKind::Thumbnail;
    host::ParameterHandle parameter = nullptr;  // envelope controls
    double stored = 0.0;                        // envelope controls: the parameter's value
    double shown = 0.0;                         // envelope controls: in panel units
    std::string text;                           // text controls
};

struct LayoutControl {
    host::PanelId id;
    std::string label;
    std::string controlClass;
    HintLimits limits;  // in panel units
    bool drawn;         // has a drawing callback
    PanelValue value;
};

struct LayoutGroup {
    host::PanelId id;
    std::string label;
    std::vector<LayoutControl> controls;
};

struct PanelLayout {
    std::string title;
    std::vector<LayoutGroup> groups;      // in hint order
    std::vector<LayoutControl> ungrouped;  // controls of no group, in table order
};

// Failures (an invalid panel, no instance, a control the workbench cannot
// read, a null parameter handle, a value outside the limits) throw
// std::runtime_error with the reason.
class PanelValues {
public:
    using TimeSource = std::function<double()>;

    PanelValues(const host::ParameterService* parameters, TimeSource currentTime);

    // Calls the get function with the instance the panel views. An envelope
    // control's parameter is read at the current time.
    PanelValue read(const Panel& panel, host::PanelId id) const;

    // Sets an envelope control to `shown` (panel units): the parameter is set
    // through its handle first, then the set function receives the new value
    // in the parameter's units. Answers the set function's result.
    int edit(const Panel& panel, host::PanelId id, double shown) const;

    PanelLayout layout(const Panel& panel) const;

private:
    const PanelControlInfo& readableControl(const Panel& panel, host::PanelId id) const;
    const host::ParameterService* parameters_;
    TimeSource currentTime_;
};

}  // namespace workbench::panel
