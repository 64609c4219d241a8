#pragma once
// The workbench's panel service: the panels that modules asked for, and the
// host::PanelService table through which modules reach them.
//
// A module calls the service's functions as plain C function pointers with no
// context, so those functions reach the one registry that an
// ActivePanelRegistry scope has made active, whichever registry's table the
// module was handed. Outside such a scope the service makes no panel and
// ignores every call. Everything runs on the thread that
// drives the module.

#include <memory>
#include <string>
#include <vector>

#include "host/PanelService.h"
#include "workbench/panel/DrawingSurface.h"
#include "workbench/panel/Panel.h"
#include "workbench/panel/Raster.h"

namespace workbench::panel {

class PanelRegistry {
public:
    // The hint slot receives only a pointer; the parser reads at most this
    // many words from it.
    static constexpr std::size_t kHintWordBound = 4096;

    PanelRegistry();
    ~PanelRegistry();
    PanelRegistry(const PanelRegistry&) = delete;
    PanelRegistry& operator=(const PanelRegistry&) = delete;

    // The table to hand to a module as "LWXPanel".
    const host::PanelService* service() const { return &service_; }
    const host::PanelDrawingTable* drawingTable() const { return &drawing_; }

    // The registry the service's functions reach, or null.
    static PanelRegistry* Active();

    // Panels in the order they were created; they live as long as the registry.
    std::vector<Panel*> panels() const;
    // Null for a handle that is not one of this registry's panels.
    Panel* find(host::PanelHandle handle) const;

    // Service calls in order ("create(1)", "hint(panel 1, 0)", ...), and the
    // calls that were refused or failed, with the reason.
    const std::vector<std::string>& calls() const { return calls_; }
    const std::vector<std::string>& faults() const { return faults_; }

    // Runs the drawing callback that the panel's hints attach to `control`,
    // with a drawing area that paints into `raster`, and answers the drawing
    // calls it made. The registry must be active: the callback reaches the
    // panel through the service. Throws std::logic_error when it cannot draw.
    std::vector<DrawCall> draw(Panel& panel, host::PanelId control, Raster& raster);

    // The service's operations, as the table's functions call them. They
    // never throw: a refused call is recorded in faults().
    host::PanelHandle createPanel(int panelType, const host::PanelControl* controls) noexcept;
    int describePanel(host::PanelHandle handle, const host::PanelDataRow* data, host::PanelGetFunction get,
                      host::PanelSetFunction set) noexcept;
    void hintPanel(host::PanelHandle handle, host::PanelId id, const host::PanelWord* hints) noexcept;
    void* panelData(host::PanelHandle handle, host::PanelId id) noexcept;
    void setPanelData(host::PanelHandle handle, host::PanelId id, void* data) noexcept;
    int viewPanelInstance(host::PanelHandle handle, void* instance) noexcept;
    // The drawing area of a running draw(), or null.
    DrawingSurface* surface(host::DrawingArea area) const noexcept;
    void fault(std::string what) noexcept;

private:
    friend class ActivePanelRegistry;

    std::string nameOf(host::PanelHandle handle) const;
    Panel* knownPanel(host::PanelHandle handle, const char* operation) noexcept;

    host::PanelDrawingTable drawing_{};
    host::PanelService service_{};
    std::vector<std::unique_ptr<Panel>> panels_;
    std::vector<DrawingSurface*> surfaces_;
    std::vector<std::string> calls_;
    std::vector<std::string> faults_;
};

// Makes a registry the one the service's functions reach, for this scope.
// Only one registry is active at a time; a second scope throws std::logic_error.
class ActivePanelRegistry {
public:
    explicit ActivePanelRegistry(PanelRegistry& registry);
    ~ActivePanelRegistry();
    ActivePanelRegistry(const ActivePanelRegistry&) = delete;
    ActivePanelRegistry& operator=(const ActivePanelRegistry&) = delete;

private:
    PanelRegistry* registry_;
};

}  // namespace workbench::panel
