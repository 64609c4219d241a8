#include "workbench/panel/PanelRegistry.h"

#include <algorithm>
#include <fmt/format.h>
#include <span>
#include <stdexcept>

namespace workbench::panel {

namespace {

// The module runs on one thread and its calls carry no context.
PanelRegistry* activeRegistry = nullptr;

host::PanelHandle Create(int panelType, const host::PanelControl* controls) {
    PanelRegistry* registry = PanelRegistry::Active();
    return registry != nullptr ? registry->createPanel(panelType, controls) : nullptr;
}

int Describe(host::PanelHandle panel, const host::PanelDataRow* data, host::PanelGetFunction get,
             host::PanelSetFunction set) {
    PanelRegistry* registry = PanelRegistry::Active();
    return registry != nullptr ? registry->describePanel(panel, data, get, set) : 0;
}

void Hint(host::PanelHandle panel, host::PanelId id, const host::PanelWord* hints) {
    if (PanelRegistry* registry = PanelRegistry::Active()) registry->hintPanel(panel, id, hints);
}

void* GetData(host::PanelHandle panel, host::PanelId id) {
    PanelRegistry* registry = PanelRegistry::Active();
    return registry != nullptr ? registry->panelData(panel, id) : nullptr;
}

void SetData(host::PanelHandle panel, host::PanelId id, void* data) {
    if (PanelRegistry* registry = PanelRegistry::Active()) registry->setPanelData(panel, id, data);
}

int ViewInstance(host::PanelHandle panel, void* instance) {
    PanelRegistry* registry = PanelRegistry::Active();
    return registry != nullptr ? registry->viewPanelInstance(panel, instance) : 0;
}

// A drawing area is only ever one of the surfaces of a running draw(); any
// other pointer is refused rather than followed.
DrawingSurface* SurfaceOf(host::DrawingArea area, const char* operation) {
    PanelRegistry* registry = PanelRegistry::Active();
    if (registry == nullptr) return nullptr;
    DrawingSurface* surface = registry->surface(area);
    if (surface == nullptr) registry->fault(fmt::format("{}: unknown drawing area", operation));
    return surface;
}

void Line(host::DrawingArea area, std::int32_t colour, std::int32_t x1, std::int32_t y1, std::int32_t x2,
          std::int32_t y2) {
    try {
        if (DrawingSurface* surface = SurfaceOf(area, "line")) surface->line(colour, x1, y1, x2, y2);
    } catch (const std::exception& error) {
        PanelRegistry::Active()->fault(fmt::format("line: {}", error.what()));
    }
}

void FilledBox(host::DrawingArea area, std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t x,
               std::int32_t y, std::int32_t width, std::int32_t height) {
    try {
        if (DrawingSurface* surface = SurfaceOf(area, "filledBox")) {
            surface->filledBox(red, green, blue, x, y, width, height);
        }
    } catch (const std::exception& error) {
        PanelRegistry::Active()->fault(fmt::format("filledBox: {}", error.what()));
    }
}

}  // namespace

PanelRegistry::PanelRegistry() {
    drawing_.line = Line;
    drawing_.filledBox = FilledBox;
    service_.drawing = &drawing_;
    service_.create = Create;
    service_.describe = Describe;
    service_.hint = Hint;
    service_.getData = GetData;
    service_.setData = SetData;
    service_.viewInstance = ViewInstance;
}

PanelRegistry::~PanelRegistry() {
    // A scope that outlives its registry must not leave the service reaching it.
    if (activeRegistry == this) activeRegistry = nullptr;
}

PanelRegistry* PanelRegistry::Active() { return activeRegistry; }

std::vector<Panel*> PanelRegistry::panels() const {
    std::vector<Panel*> all;
    for (const auto& panel : panels_) all.push_back(panel.get());
    return all;
}

Panel* PanelRegistry::find(host::PanelHandle handle) const {
    const auto found = std::ranges::find_if(panels_, [&](const auto& panel) { return panel.get() == handle; });
    return found == panels_.end() ? nullptr : found->get();
}

std::string PanelRegistry::nameOf(host::PanelHandle handle) const {
    const auto found = std::ranges::find_if(panels_, [&](const auto& panel) { return panel.get() == handle; });
    if (found == panels_.end()) return handle == nullptr ? "null panel" : "unknown panel";
    return fmt::format("panel {}", found - panels_.begin() + 1);
}

void PanelRegistry::fault(std::string what) noexcept {
    try {
        faults_.push_back(std::move(what));
    } catch (...) {
        // Out of memory while recording a fault: the call is refused all the same.
    }
}

Panel* PanelRegistry::knownPanel(host::PanelHandle handle, const char* operation) noexcept {
    Panel* panel = find(handle);
    if (panel == nullptr) fault(fmt::format("{}: {}", operation, nameOf(handle)));
    return panel;
}

host::PanelHandle PanelRegistry::createPanel(int panelType, const host::PanelControl* controls) noexcept {
    try {
        calls_.push_back(fmt::format("create({})", panelType));
        panels_.push_back(std::make_unique<Panel>(panelType, controls));
        return panels_.back()->handle();
    } catch (const std::exception& error) {
        fault(fmt::format("create: {}", error.what()));
        return nullptr;
    }
}

int PanelRegistry::describePanel(host::PanelHandle handle, const host::PanelDataRow* data,
                                 host::PanelGetFunction get, host::PanelSetFunction set) noexcept {
    try {
        calls_.push_back(fmt::format("describe({})", nameOf(handle)));
        Panel* panel = knownPanel(handle, "describe");
        if (panel == nullptr) return 0;
        try {
            panel->describe(data, get, set);
            return 1;
        } catch (const std::exception& error) {
            panel->invalidate(fmt::format("describe: {}", error.what()));
            fault(panel->error());
            return 0;
        }
    } catch (const std::exception& error) {
        fault(fmt::format("describe: {}", error.what()));
        return 0;
    }
}

void PanelRegistry::hintPanel(host::PanelHandle handle, host::PanelId id, const host::PanelWord* hints) noexcept {
    try {
        calls_.push_back(fmt::format("hint({}, {})", nameOf(handle), id));
        Panel* panel = knownPanel(handle, "hint");
        if (panel == nullptr) return;
        try {
            if (hints == nullptr) throw std::invalid_argument("the hint array is null");
            if (id != 0) {
                throw std::invalid_argument(fmt::format("hints for control 0x{:X} alone are not supported", id));
            }
            const std::vector<host::PanelId> controls = panel->controlIds();
            panel->applyHints(ParseHints(std::span(hints, kHintWordBound), controls));
        } catch (const std::exception& error) {
            panel->invalidate(fmt::format("hint: {}", error.what()));
            fault(panel->error());
        }
    } catch (const std::exception& error) {
        fault(fmt::format("hint: {}", error.what()));
    }
}

void* PanelRegistry::panelData(host::PanelHandle handle, host::PanelId id) noexcept {
    try {
        calls_.push_back(fmt::format("getData({}, {})", nameOf(handle), id));
    } catch (...) {
        // Only the record of the call is lost.
    }
    Panel* panel = knownPanel(handle, "getData");
    return panel != nullptr ? panel->attached(id) : nullptr;
}

void PanelRegistry::setPanelData(host::PanelHandle handle, host::PanelId id, void* data) noexcept {
    try {
        calls_.push_back(fmt::format("setData({}, {})", nameOf(handle), id));
        if (Panel* panel = knownPanel(handle, "setData")) panel->attach(id, data);
    } catch (const std::exception& error) {
        fault(fmt::format("setData: {}", error.what()));
    }
}

int PanelRegistry::viewPanelInstance(host::PanelHandle handle, void* instance) noexcept {
    try {
        calls_.push_back(fmt::format("viewInstance({})", nameOf(handle)));
    } catch (...) {
        // Only the record of the call is lost.
    }
    Panel* panel = knownPanel(handle, "viewInstance");
    if (panel == nullptr) return 0;
    panel->view(instance);
    return 1;
}

DrawingSurface* PanelRegistry::surface(host::DrawingArea area) const noexcept {
    const auto found = std::ranges::find(surfaces_, static_cast<DrawingSurface*>(area));
    return found == surfaces_.end() ? nullptr : *found;
}

std::vector<DrawCall> PanelRegistry::draw(Panel& panel, host::PanelId control, Raster& raster) {
    if (activeRegistry != this) throw std::logic_error("the panel registry must be active to draw");
    if (find(panel.handle()) != &panel) throw std::logic_error("the panel is not one of this registry's");
    if (!panel.valid()) throw std::logic_error(fmt::format("the panel is invalid: {}", panel.error()));
    const host::PanelDrawFunction callback = panel.drawing(control);
    if (callback == nullptr) throw std::logic_error(fmt::format("control 0x{:X} has no drawing callback", control));

    DrawingSurface surface(raster);
    surfaces_.push_back(&surface);
    struct Withdraw {
        std::vector<DrawingSurface*>& surfaces;
        ~Withdraw() { surfaces.pop_back(); }
    } withdraw{surfaces_};
    callback(panel.handle(), control, &surface);
    return surface.calls();
}

ActivePanelRegistry::ActivePanelRegistry(PanelRegistry& registry) : registry_(&registry) {
    if (activeRegistry != nullptr) throw std::logic_error("another panel registry is already active");
    activeRegistry = registry_;
}

ActivePanelRegistry::~ActivePanelRegistry() {
    if (activeRegistry == registry_) activeRegistry = nullptr;
}

}  // namespace workbench::panel
