#pragma once
// One panel a module asked the panel service for: copies of the tables it
// described, its parsed hints, its value functions, the data attached to it
// and the instance it shows. Texts are copied when the module hands them over.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/PanelService.h"
#include "workbench/panel/HintParser.h"

namespace workbench::panel {

struct PanelControlInfo {
    host::PanelId id;
    std::string label;
    std::string controlClass;
};

struct PanelDataInfo {
    host::PanelId id;
    std::string name;
    std::string valueType;
};

struct PanelGroup {
    host::PanelId id;
    std::string label;  // from a label hint, else empty
    std::vector<host::PanelId> members;
};

class Panel {
public:
    // Bounds on the zero-ended tables, which arrive as bare pointers.
    static constexpr std::size_t kMaxTableRows = 1024;
    static constexpr std::size_t kMaxTextLength = 4096;

    // Copies the control table up to its row of zeros. Throws
    // std::invalid_argument for a table the service cannot make a panel of.
    Panel(int type, const host::PanelControl* controls);

    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    host::PanelHandle handle() { return this; }
    int type() const { return type_; }

    const std::vector<PanelControlInfo>& controls() const { return controls_; }
    const PanelControlInfo* control(host::PanelId id) const;
    std::vector<host::PanelId> controlIds() const;

    // Copies the data description and keeps the value functions; throws
    // std::invalid_argument for a table that does not fit the controls.
    void describe(const host::PanelDataRow* data, host::PanelGetFunction get, host::PanelSetFunction set);
    bool described() const { return described_; }
    const std::vector<PanelDataInfo>& dataRows() const { return data_; }
    const PanelDataInfo* dataRow(host::PanelId id) const;
    host::PanelGetFunction getFunction() const { return get_; }
    host::PanelSetFunction setFunction() const { return set_; }

    // Adds a parsed hint array: groups, labels (id 0 sets the title),
    // limits and drawing callbacks. Throws HintError for a malformed array.
    void applyHints(const ParsedHints& hints);
    const std::string& title() const { return title_; }
    const std::vector<PanelGroup>& groups() const { return groups_; }
    HintLimits limits(host::PanelId id) const;
    host::PanelDrawFunction drawing(host::PanelId id) const;
    const std::vector<HintEntry>& keptHints() const { return keptHints_; }

    void attach(host::PanelId id, void* data) { attachedData_[id] = data; }
    void* attached(host::PanelId id) const;
    void view(void* instance) { instance_ = instance; }
    void* instance() const { return instance_; }

    // A panel whose description or hints the service rejected stays known
    // (the module holds its handle) but is marked invalid with the reason.
    void invalidate(std::string error);
    bool valid() const { return !error_; }
    const std::string& error() const;

private:
    int type_;
    std::vector<PanelControlInfo> controls_;
    std::vector<PanelDataInfo> data_;
    bool described_ = false;
    host::PanelGetFunction get_ = nullptr;
    host::PanelSetFunction set_ = nullptr;
    std::string title_;
    std::vector<PanelGroup> groups_;
    std::map<host::PanelId, HintLimits> limits_;
    std::map<host::PanelId, host::PanelDrawFunction> drawing_;
    std::vector<HintEntry> keptHints_;
    std::map<host::PanelId, void*> attachedData_;
    void* instance_ = nullptr;
    std::optional<std::string> error_;
};

// Copies a module text of at most Panel::kMaxTextLength characters; null gives
// an empty text. Throws std::invalid_argument for a longer one.
std::string CopyModuleText(const char* text, const char* what);

}  // namespace workbench::panel
