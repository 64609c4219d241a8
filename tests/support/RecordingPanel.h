#pragma once
// A fake "LWXPanel" service for tests: records what the module hands it, logs
// its calls into the recording host's call log (after the lookups that found
// it), and records every drawing call of a control's drawing callback.

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "host/PanelService.h"
#include "tests/support/RecordingHost.h"

namespace testhost {

// One drawing call. `arguments` are the integers after the drawing area:
// line: colour word, x1, y1, x2, y2; box: red, green, blue, x, y, width, height.
struct DrawingCall {
    std::string operation;  // "line" or "box"
    host::DrawingArea area;
    std::vector<std::int32_t> arguments;

    bool operator==(const DrawingCall&) const = default;
    friend void PrintTo(const DrawingCall& call, std::ostream* out);
};

class RecordingPanel {
public:
    // Becomes the host's "LWXPanel" service until destroyed.
    explicit RecordingPanel(RecordingHost& host);
    ~RecordingPanel();
    RecordingPanel(const RecordingPanel&) = delete;
    RecordingPanel& operator=(const RecordingPanel&) = delete;

    // The handle that create answers; the call log names it "panel".
    host::PanelHandle panel() { return &panelObject; }

    // Switch: create answers null.
    bool failCreate = false;

    // Makes the host's "Instance Update" a function that logs
    // "instanceUpdate(<class name>)" and records the instance.
    void InstallInstanceUpdate();
    std::vector<void*> updatedInstances;

    // What the module handed over, from the latest call of each operation.
    int createCalls = 0;
    int panelType = -1;
    const host::PanelControl* controls = nullptr;
    const host::PanelDataRow* dataDescription = nullptr;
    host::PanelGetFunction getFunction = nullptr;
    host::PanelSetFunction setFunction = nullptr;
    const host::PanelWord* hints = nullptr;
    void* viewedInstance = nullptr;
    std::map<host::PanelId, void*> data;  // attached by set data, answered by get data

    std::vector<DrawingCall> drawing;

    host::PanelService service{};
    host::PanelDrawingTable drawingTable{};

private:
    RecordingHost& fakeHost;
    int panelObject = 0;
};

// The panel service whose operations are being called.
RecordingPanel& ActivePanel();

}  // namespace testhost
