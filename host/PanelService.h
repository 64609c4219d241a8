#pragma once
// "LWXPanel": the host's panel service, which builds and runs a settings panel
// from constant tables that a module describes, and its drawing operations.
// Slots are numbered from 0 in pointer-sized steps; every table word is one
// pointer wide.

#include <cstdint>

#include "host/Layout.h"

namespace host {

inline constexpr const char* kPanelServiceName = "LWXPanel";

// Panel control and group ids.
using PanelId = std::uint32_t;
using PanelHandle = void*;
using DrawingArea = void*;

// One pointer-sized word of a panel table.
using PanelWord = std::uintptr_t;

// One row of the control table: id, label, control class. Ends with a row of zeros.
struct PanelControl {
    PanelWord id;
    const char* label;
    const char* controlClass;
};
HOST_CHECK_SLOT(PanelControl, id, 0, 0);
HOST_CHECK_SLOT(PanelControl, label, 1, 4);
HOST_CHECK_SLOT(PanelControl, controlClass, 2, 8);

// One row of the data description: id, name, value type. Ends with a row of zeros.
struct PanelDataRow {
    PanelWord id;
    const char* name;
    const char* valueType;
};
HOST_CHECK_SLOT(PanelDataRow, id, 0, 0);
HOST_CHECK_SLOT(PanelDataRow, name, 1, 4);
HOST_CHECK_SLOT(PanelDataRow, valueType, 2, 8);

// Hints: a flat array of words, each entry a tag followed by its argument
// words and the whole array ended by a zero word. The low seven bits of a tag
// count its argument words; a tag with bit 0x80 set is followed, after its
// arguments, by a list of ids ended by a zero word.
namespace hint {
inline constexpr PanelWord kGroup = 0x3D01FE81;          // group id; then the member ids, 0
inline constexpr PanelWord kLabel = 0x3D000B03;          // id, text, 0
inline constexpr PanelWord kHostCallback = 0x3D000F01;   // function
inline constexpr PanelWord kHostCallback2 = 0x3D001302;  // function, 0
inline constexpr PanelWord kMinimum = 0x3D014002;        // id, signed integer
inline constexpr PanelWord kMaximum = 0x3D014102;        // id, signed integer
inline constexpr PanelWord kStep = 0x3D014202;           // id, signed integer
inline constexpr PanelWord kDrawFunction = 0x3D016502;   // id, PanelDrawFunction
inline constexpr PanelWord kEnd = 0;

constexpr PanelWord ArgumentWords(PanelWord tag) { return tag & 0x7F; }
constexpr bool IsFollowedByIdList(PanelWord tag) { return (tag & 0x80) != 0; }
}  // namespace hint

// Value exchange between the panel and the instance it shows.
using PanelGetFunction = void* (*)(void* instance, PanelId id);
using PanelSetFunction = int (*)(void* instance, PanelId id, void* value);
// A control's drawing callback: (panel, control id, drawing area).
using PanelDrawFunction = void (*)(PanelHandle panel, PanelId control, DrawingArea area);

// Panel type of a panel whose values come through get and set functions.
inline constexpr int kPanelTypeFunctions = 1;

// Drawing operations for a control's drawing area; coordinates in pixels.
struct PanelDrawingTable {
    UnusedSlot reserved0[2];
    // `colour` is one packed word: 0x01 in the top byte, then red, green, blue.
    void (*line)(DrawingArea area, std::int32_t colour, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                 std::int32_t y2);
    UnusedSlot reserved3;
    void (*filledBox)(DrawingArea area, std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t x,
                      std::int32_t y, std::int32_t width, std::int32_t height);
};
HOST_CHECK_SLOT(PanelDrawingTable, line, 2, 8);
HOST_CHECK_SLOT(PanelDrawingTable, filledBox, 4, 16);

struct PanelService {
    UnusedSlot reserved0;
    const PanelDrawingTable* drawing;  // a table, not a function
    // Null when the host cannot make the panel.
    PanelHandle (*create)(int panelType, const PanelControl* controls);
    UnusedSlot reserved3;
    int (*describe)(PanelHandle panel, const PanelDataRow* data, PanelGetFunction get, PanelSetFunction set);
    void (*hint)(PanelHandle panel, PanelId id, const PanelWord* hints);
    void* (*getData)(PanelHandle panel, PanelId id);
    void (*setData)(PanelHandle panel, PanelId id, void* data);
    UnusedSlot reserved8[2];
    int (*viewInstance)(PanelHandle panel, void* instance);
};
HOST_CHECK_SLOT(PanelService, drawing, 1, 4);
HOST_CHECK_SLOT(PanelService, create, 2, 8);
HOST_CHECK_SLOT(PanelService, describe, 4, 16);
HOST_CHECK_SLOT(PanelService, hint, 5, 20);
HOST_CHECK_SLOT(PanelService, getData, 6, 24);
HOST_CHECK_SLOT(PanelService, setData, 7, 28);
HOST_CHECK_SLOT(PanelService, viewInstance, 10, 40);

}  // namespace host
