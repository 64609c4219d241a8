#include "tests/support/RecordingPanel.h"

#include <stdexcept>

namespace testhost {

namespace {

RecordingPanel* active = nullptr;

void Log(const std::string& call) { ActiveHost().calls.push_back("panel." + call); }

// The log names the fake's own panel "panel" and anything else "other".
std::string Name(host::PanelHandle panel) { return panel == ActivePanel().panel() ? "panel" : "other"; }

host::PanelHandle Create(int panelType, const host::PanelControl* controls) {
    RecordingPanel& fake = ActivePanel();
    Log("create(" + std::to_string(panelType) + ")");
    ++fake.createCalls;
    fake.panelType = panelType;
    fake.controls = controls;
    return fake.failCreate ? nullptr : fake.panel();
}

int Describe(host::PanelHandle panel, const host::PanelDataRow* data, host::PanelGetFunction get,
             host::PanelSetFunction set) {
    RecordingPanel& fake = ActivePanel();
    Log("describe(" + Name(panel) + ")");
    fake.dataDescription = data;
    fake.getFunction = get;
    fake.setFunction = set;
    return 1;
}

void Hint(host::PanelHandle panel, host::PanelId id, const host::PanelWord* hints) {
    Log("hint(" + Name(panel) + "," + std::to_string(id) + ")");
    ActivePanel().hints = hints;
}

void* GetData(host::PanelHandle panel, host::PanelId id) {
    Log("getData(" + Name(panel) + "," + std::to_string(id) + ")");
    const auto& data = ActivePanel().data;
    const auto found = data.find(id);
    return found != data.end() ? found->second : nullptr;
}

void SetData(host::PanelHandle panel, host::PanelId id, void* data) {
    Log("setData(" + Name(panel) + "," + std::to_string(id) + ")");
    ActivePanel().data[id] = data;
}

int ViewInstance(host::PanelHandle panel, void* instance) {
    Log("viewInstance(" + Name(panel) + ")");
    ActivePanel().viewedInstance = instance;
    return 1;
}

void Line(host::DrawingArea area, std::int32_t colour, std::int32_t x1, std::int32_t y1, std::int32_t x2,
          std::int32_t y2) {
    ActivePanel().drawing.push_back({"line", area, {colour, x1, y1, x2, y2}});
}

void FilledBox(host::DrawingArea area, std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t x,
               std::int32_t y, std::int32_t width, std::int32_t height) {
    ActivePanel().drawing.push_back({"box", area, {red, green, blue, x, y, width, height}});
}

int InstanceUpdate(const char* className, void* instance) {
    ActiveHost().calls.push_back(std::string("instanceUpdate(") + className + ")");
    ActivePanel().updatedInstances.push_back(instance);
    return 1;
}

}  // namespace

void PrintTo(const DrawingCall& call, std::ostream* out) {
    *out << call.operation << "(" << call.area;
    for (std::int32_t argument : call.arguments) *out << "," << argument;
    *out << ")";
}

RecordingPanel::RecordingPanel(RecordingHost& host) : fakeHost(host) {
    if (active != nullptr) throw std::logic_error("only one recording panel service at a time");
    active = this;
    drawingTable.line = Line;
    drawingTable.filledBox = FilledBox;
    service.drawing = &drawingTable;
    service.create = Create;
    service.describe = Describe;
    service.hint = Hint;
    service.getData = GetData;
    service.setData = SetData;
    service.viewInstance = ViewInstance;
    fakeHost.panelService = &service;
}

RecordingPanel::~RecordingPanel() {
    if (fakeHost.panelService == &service) fakeHost.panelService = nullptr;
    if (fakeHost.instanceUpdate == InstanceUpdate) fakeHost.instanceUpdate = nullptr;
    active = nullptr;
}

void RecordingPanel::InstallInstanceUpdate() { fakeHost.instanceUpdate = InstanceUpdate; }

RecordingPanel& ActivePanel() {
    if (active == nullptr) throw std::logic_error("no recording panel service is active");
    return *active;
}

}  // namespace testhost
