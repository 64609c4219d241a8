#pragma once
// The three constant tables that describe the settings panel to the host.
// The host only reads them, through the pointers the activation hands over.

#include <cstddef>
#include <cstdint>

#include "host/PanelService.h"

namespace tarvelin {

// Seven controls, then a row of zeros.
inline constexpr std::size_t kControlCount = 7;
extern const host::PanelControl panelControls[kControlCount + 1];

// One row per control with a value (all but the diagram), then a row of zeros.
inline constexpr std::size_t kDataRowCount = 6;
extern const host::PanelDataRow panelDataDescription[kDataRowCount + 1];

// The hints are one flat array of words to the host. They are declared here
// entry by entry, each word with its own type (id, text, function), so that
// the compiler checks every entry against its tag and no pointer has to pass
// through an integer. Every field is one pointer-sized word.
namespace hints {

// A group: its id, then its members, ended by a zero word.
template <std::size_t Members>
struct Group {
    static constexpr std::size_t kArgumentWords = 1;
    host::PanelWord tag;
    host::PanelWord group;
    host::PanelWord members[Members];
    host::PanelWord endOfMembers;
};

struct Label {
    static constexpr std::size_t kArgumentWords = 3;
    host::PanelWord tag;
    host::PanelWord id;
    const char* text;
    host::PanelWord zero;
};

// The host calls these with arguments of its own; the function reads none.
struct Callback {
    static constexpr std::size_t kArgumentWords = 1;
    host::PanelWord tag;
    void (*function)();
};

struct CallbackAndZero {
    static constexpr std::size_t kArgumentWords = 2;
    host::PanelWord tag;
    void (*function)();
    host::PanelWord zero;
};

// A limit or step: a signed integer in the units the control shows.
struct Integer {
    static constexpr std::size_t kArgumentWords = 2;
    host::PanelWord tag;
    host::PanelWord id;
    std::intptr_t value;
};

struct DrawFunction {
    static constexpr std::size_t kArgumentWords = 2;
    host::PanelWord tag;
    host::PanelWord id;
    host::PanelDrawFunction draw;
};

}  // namespace hints

struct PanelHints {
    hints::Group<2> zoomGroup;
    hints::Group<2> shiftGroup;
    hints::Group<2> tiltGroup;
    hints::Group<1> diagramGroup;
    hints::Label title;
    hints::Callback hostCallback;
    hints::CallbackAndZero hostCallback2;
    hints::Integer zoomMinimum;
    hints::Integer zoomStep;
    hints::Integer hShiftMinimum;
    hints::Integer hShiftMaximum;
    hints::Integer vShiftMinimum;
    hints::Integer vShiftMaximum;
    hints::Integer tiltDirectionMinimum;
    hints::Integer tiltDirectionMaximum;
    hints::Integer tiltAngleMinimum;
    hints::Integer tiltAngleMaximum;
    hints::DrawFunction diagramDrawing;
    host::PanelWord end;
};

inline constexpr std::size_t kHintWordCount = 62;
static_assert(sizeof(PanelHints) == kHintWordCount * sizeof(host::PanelWord),
              "the hints must be exactly 62 words, without padding");

extern const PanelHints panelHints;

// The hints as the host reads them: 62 words.
inline const host::PanelWord* PanelHintWords() { return reinterpret_cast<const host::PanelWord*>(&panelHints); }

}  // namespace tarvelin
