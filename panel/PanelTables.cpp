#include "panel/PanelTables.h"

#include <iterator>

#include "module/ModuleEntry.h"
#include "panel/PanelIds.h"
#include "panel/TiltDiagram.h"

namespace tarvelin {

namespace {

constexpr const char* kEmptyText = "";

}  // namespace

constexpr host::PanelControl panelControls[kControlCount + 1] = {
    {CTL_ZOOM, "Zoom Factor", "float-env"},
    {CTL_INFO, kEmptyText, "sInfo"},
    {CTL_HSHIFT, "Horizontal Shift", "percent-env"},
    {CTL_VSHIFT, "Vertical Shift", "percent-env"},
    {CTL_TILT_DIRECTION, "Direction", "angle-env"},
    {CTL_TILT_ANGLE, "Angle", "angle-env"},
    {CTL_DIAGRAM, kEmptyText, "dThumbnail"},
    {0, nullptr, nullptr},
};

// The diagram has no value and so no row.
constexpr host::PanelDataRow panelDataDescription[kDataRowCount + 1] = {
    {CTL_ZOOM, kEmptyText, "float-env"},
    {CTL_INFO, kEmptyText, "string"},
    {CTL_HSHIFT, kEmptyText, "percent-env"},
    {CTL_VSHIFT, kEmptyText, "percent-env"},
    {CTL_TILT_DIRECTION, kEmptyText, "angle-env"},
    {CTL_TILT_ANGLE, kEmptyText, "angle-env"},
    {0, nullptr, nullptr},
};

// Limits are in the units the panel shows: percent for the shifts (±1000 %
// is a stored fraction of ±10), degrees for the angles. The zoom factor has
// no upper limit.
constexpr PanelHints panelHints = {
    .zoomGroup = {host::hint::kGroup, GRP_ZOOM, {CTL_ZOOM, CTL_INFO}, 0},
    .shiftGroup = {host::hint::kGroup, GRP_SHIFT, {CTL_HSHIFT, CTL_VSHIFT}, 0},
    .tiltGroup = {host::hint::kGroup, GRP_TILT, {CTL_TILT_DIRECTION, CTL_TILT_ANGLE}, 0},
    .diagramGroup = {host::hint::kGroup, GRP_DIAGRAM, {CTL_DIAGRAM}, 0},
    .title = {host::hint::kLabel, kWholePanel, "Tarvelin Camera", 0},
    // The host wants two callbacks here; neither has anything to do.
    .hostCallback = {host::hint::kHostCallback, ModuleShutdown},
    .hostCallback2 = {host::hint::kHostCallback2, ModuleShutdown, 0},
    .zoomMinimum = {host::hint::kMinimum, CTL_ZOOM, 0},
    .zoomStep = {host::hint::kStep, CTL_ZOOM, 1},
    .hShiftMinimum = {host::hint::kMinimum, CTL_HSHIFT, -1000},
    .hShiftMaximum = {host::hint::kMaximum, CTL_HSHIFT, 1000},
    .vShiftMinimum = {host::hint::kMinimum, CTL_VSHIFT, -1000},
    .vShiftMaximum = {host::hint::kMaximum, CTL_VSHIFT, 1000},
    .tiltDirectionMinimum = {host::hint::kMinimum, CTL_TILT_DIRECTION, -360},
    .tiltDirectionMaximum = {host::hint::kMaximum, CTL_TILT_DIRECTION, 360},
    .tiltAngleMinimum = {host::hint::kMinimum, CTL_TILT_ANGLE, -90},
    .tiltAngleMaximum = {host::hint::kMaximum, CTL_TILT_ANGLE, 90},
    .diagramDrawing = {host::hint::kDrawFunction, CTL_DIAGRAM, DrawTiltDiagram},
    .end = host::hint::kEnd,
};

// What the host would otherwise find out at run time, checked here.
namespace {

constexpr bool SameText(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    for (; *a != '\0' && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}

constexpr const host::PanelControl* FindControl(host::PanelWord id) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (panelControls[i].id == id) return &panelControls[i];
    }
    return nullptr;
}

constexpr bool ControlRowsAreInIdOrder() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const host::PanelControl& row = panelControls[i];
        if (row.id != CTL_ZOOM + i || row.label == nullptr || row.controlClass == nullptr) return false;
    }
    const host::PanelControl& end = panelControls[kControlCount];
    return end.id == 0 && end.label == nullptr && end.controlClass == nullptr;
}

constexpr bool DataRowsAreInIdOrder() {
    for (std::size_t i = 0; i < kDataRowCount; ++i) {
        const host::PanelDataRow& row = panelDataDescription[i];
        if (row.id != CTL_ZOOM + i || !SameText(row.name, kEmptyText) || row.valueType == nullptr) return false;
        if (SameText(FindControl(row.id)->controlClass, "dThumbnail")) return false;  // drawn, has no value
    }
    const host::PanelDataRow& end = panelDataDescription[kDataRowCount];
    return end.id == 0 && end.name == nullptr && end.valueType == nullptr;
}

constexpr host::PanelWord kGroupIds[] = {GRP_ZOOM, GRP_SHIFT, GRP_TILT, GRP_DIAGRAM};

constexpr bool IdsAreUnique() {
    host::PanelWord ids[kControlCount + std::size(kGroupIds)] = {};
    std::size_t count = 0;
    for (std::size_t i = 0; i < kControlCount; ++i) ids[count++] = panelControls[i].id;
    for (host::PanelWord group : kGroupIds) ids[count++] = group;
    for (std::size_t i = 0; i < count; ++i) {
        if (ids[i] == 0) return false;
        for (std::size_t j = i + 1; j < count; ++j) {
            if (ids[i] == ids[j]) return false;
        }
    }
    return true;
}

template <typename Entry>
constexpr bool TagCountsItsArguments(const Entry& entry) {
    return host::hint::ArgumentWords(entry.tag) == Entry::kArgumentWords &&
           !host::hint::IsFollowedByIdList(entry.tag);
}

template <std::size_t Members>
constexpr bool IsGroupOfControls(const hints::Group<Members>& entry) {
    if (entry.tag != host::hint::kGroup || host::hint::ArgumentWords(entry.tag) != 1 ||
        !host::hint::IsFollowedByIdList(entry.tag) || FindControl(entry.group) != nullptr) {
        return false;
    }
    for (host::PanelWord member : entry.members) {
        if (FindControl(member) == nullptr) return false;
    }
    return entry.endOfMembers == 0;
}

// Every control sits in exactly one group, in id order.
constexpr bool GroupsHoldEachControlOnce() {
    host::PanelWord members[kControlCount] = {};
    std::size_t count = 0;
    auto add = [&](const auto& group) {
        for (host::PanelWord member : group.members) {
            if (count < kControlCount) members[count] = member;
            ++count;
        }
    };
    add(panelHints.zoomGroup);
    add(panelHints.shiftGroup);
    add(panelHints.tiltGroup);
    add(panelHints.diagramGroup);
    if (count != kControlCount) return false;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (members[i] != panelControls[i].id) return false;
    }
    return true;
}

constexpr bool IsLimitOfControl(const hints::Integer& entry, host::PanelWord tag, host::PanelWord control) {
    return entry.tag == tag && entry.id == control && TagCountsItsArguments(entry);
}

}  // namespace

static_assert(ControlRowsAreInIdOrder(), "controls: one row per id from CTL_ZOOM on, then a zero row");
static_assert(DataRowsAreInIdOrder(), "data description: rows in id order, empty names, then a zero row");
static_assert(IdsAreUnique(), "control and group ids must be distinct and non-zero");

static_assert(IsGroupOfControls(panelHints.zoomGroup) && IsGroupOfControls(panelHints.shiftGroup) &&
                  IsGroupOfControls(panelHints.tiltGroup) && IsGroupOfControls(panelHints.diagramGroup),
              "each group hint: a group id, then control ids, then 0");
static_assert(GroupsHoldEachControlOnce(), "the groups hold every control once, in id order");
static_assert(panelHints.title.tag == host::hint::kLabel && TagCountsItsArguments(panelHints.title) &&
                  panelHints.title.id == kWholePanel && SameText(panelHints.title.text, "Tarvelin Camera") &&
                  panelHints.title.zero == 0,
              "the panel's title");
static_assert(panelHints.hostCallback.tag == host::hint::kHostCallback &&
                  TagCountsItsArguments(panelHints.hostCallback),
              "first host callback");
static_assert(panelHints.hostCallback2.tag == host::hint::kHostCallback2 &&
                  TagCountsItsArguments(panelHints.hostCallback2) &&
                  panelHints.hostCallback2.zero == 0,
              "second host callback");
static_assert(IsLimitOfControl(panelHints.zoomMinimum, host::hint::kMinimum, CTL_ZOOM) &&
                  IsLimitOfControl(panelHints.zoomStep, host::hint::kStep, CTL_ZOOM) &&
                  IsLimitOfControl(panelHints.hShiftMinimum, host::hint::kMinimum, CTL_HSHIFT) &&
                  IsLimitOfControl(panelHints.hShiftMaximum, host::hint::kMaximum, CTL_HSHIFT) &&
                  IsLimitOfControl(panelHints.vShiftMinimum, host::hint::kMinimum, CTL_VSHIFT) &&
                  IsLimitOfControl(panelHints.vShiftMaximum, host::hint::kMaximum, CTL_VSHIFT) &&
                  IsLimitOfControl(panelHints.tiltDirectionMinimum, host::hint::kMinimum, CTL_TILT_DIRECTION) &&
                  IsLimitOfControl(panelHints.tiltDirectionMaximum, host::hint::kMaximum, CTL_TILT_DIRECTION) &&
                  IsLimitOfControl(panelHints.tiltAngleMinimum, host::hint::kMinimum, CTL_TILT_ANGLE) &&
                  IsLimitOfControl(panelHints.tiltAngleMaximum, host::hint::kMaximum, CTL_TILT_ANGLE),
              "limits and step: each tag with its control");
static_assert(panelHints.diagramDrawing.tag == host::hint::kDrawFunction &&
                  TagCountsItsArguments(panelHints.diagramDrawing) &&
                  SameText(FindControl(panelHints.diagramDrawing.id)->controlClass, "dThumbnail"),
              "the drawing callback belongs to the thumbnail control");
static_assert(panelHints.end == host::hint::kEnd, "the hints end with a zero word");
static_assert(offsetof(PanelHints, end) == (kHintWordCount - 1) * sizeof(host::PanelWord),
              "the zero word is the 62nd and last");

}  // namespace tarvelin
