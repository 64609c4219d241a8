// A small module builds a panel through the workbench's panel service; the
// workbench then reads, edits, lays out and draws it as the host would.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fmt/format.h>
#include <numbers>
#include <string>
#include <vector>

#include "workbench/panel/PanelRegistry.h"
#include "workbench/panel/PanelValues.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using host::PanelId;
using host::PanelWord;
using namespace workbench::panel;

using EventLog = std::vector<std::string>;

// A parameter as the host's parameter service keeps it: the handle points at it.
struct FakeParameter {
    const char* name;
    double value;
    EventLog* log;
};

double ParameterValue(host::ParameterHandle handle, double time, void*, double* result) {
    auto* parameter = static_cast<FakeParameter*>(handle);
    parameter->log->push_back(fmt::format("value({}, t={})", parameter->name, time));
    result[0] = parameter->value;
    return -1.0;  // not the value
}

int SetParameterValue(host::ParameterHandle handle, const double* value) {
    auto* parameter = static_cast<FakeParameter*>(handle);
    parameter->log->push_back(fmt::format("setValue({}, {})", parameter->name, *value));
    parameter->value = *value;
    return 1;
}

host::ParameterService MakeParameterService() {
    host::ParameterService service{};
    service.value = ParameterValue;
    service.setValue = SetParameterValue;
    return service;
}

// The test module: tables, value functions and a drawing callback, written
// the way a module writes them.
namespace module {

constexpr PanelId kZoom = 0x101;
constexpr PanelId kShift = 0x102;
constexpr PanelId kTilt = 0x103;
constexpr PanelId kInfo = 0x104;
constexpr PanelId kPicture = 0x105;
constexpr PanelId kOther = 0x106;
constexpr PanelId kLensGroup = 0x201;
constexpr PanelId kViewGroup = 0x202;

struct Instance {
    FakeParameter zoom;
    FakeParameter shift;
    FakeParameter tilt;
    double working[3];
    char info[16];
    EventLog* log;
};

const host::PanelService* panelService = nullptr;

const host::PanelControl kControls[] = {
    {kZoom, "Zoom", "float-env"},
    {kShift, "Shift", "percent-env"},
    {kTilt, "Tilt", "angle-env"},
    {kInfo, "", "sInfo"},
    {kPicture, "", "dThumbnail"},
    {kOther, "Other", "iSlider"},
    {0, nullptr, nullptr},
};

const host::PanelDataRow kData[] = {
    {kZoom, "", "float-env"},
    {kShift, "", "percent-env"},
    {kTilt, "", "angle-env"},
    {kInfo, "", "string"},
    {kOther, "", "integer"},
    {0, nullptr, nullptr},
};

void* GetValue(void* data, PanelId id) {
    auto* instance = static_cast<Instance*>(data);
    instance->log->push_back(fmt::format("get(0x{:X})", id));
    switch (id) {
    case kZoom: return &instance->zoom;
    case kShift: return &instance->shift;
    case kTilt: return &instance->tilt;
    case kInfo: std::snprintf(instance->info, sizeof instance->info, "Zoom %0.1f", instance->zoom.value);
                return instance->info;
    default: return nullptr;
    }
}

int SetValue(void* data, PanelId id, void* value) {
    auto* instance = static_cast<Instance*>(data);
    const double newValue = *static_cast<double*>(value);
    instance->log->push_back(fmt::format("set(0x{:X}, {})", id, newValue));
    if (id < kZoom || id > kTilt) return 0;
    instance->working[id - kZoom] = newValue;
    return 1;
}

// A grey background, and a red line as long as the instance's tilt working copy.
void DrawPicture(host::PanelHandle panel, PanelId, host::DrawingArea area) {
    const auto* instance = static_cast<const Instance*>(panelService->getData(panel, 0));
    panelService->drawing->filledBox(area, 100, 100, 100, 0, 0, 8, 8);
    panelService->drawing->line(area, 0x01FF0000, 0, 4, static_cast<std::int32_t>(instance->working[2]), 4);
}

void NoOp() {}

PanelWord Word(const void* pointer) { return reinterpret_cast<PanelWord>(pointer); }
PanelWord Signed(std::int32_t value) { return static_cast<PanelWord>(static_cast<std::intptr_t>(value)); }

const PanelWord kHints[] = {
    0x3D01FE81, kLensGroup, kZoom, kShift, kTilt, 0,
    0x3D01FE81, kViewGroup, kPicture, kInfo, 0,
    0x3D000B03, 0, Word("Test Panel"), 0,
    0x3D000B03, kLensGroup, Word("Lens"), 0,
    0x3D000F01, reinterpret_cast<PanelWord>(NoOp),
    0x3D014002, kZoom, 0,
    0x3D014202, kZoom, 1,
    0x3D014002, kShift, Signed(-1000),
    0x3D014102, kShift, 1000,
    0x3D014002, kTilt, Signed(-90),
    0x3D014102, kTilt, 90,
    0x3D016502, kPicture, reinterpret_cast<PanelWord>(DrawPicture),
    0,
};

// The order in which a module builds its panel.
host::PanelHandle Activate(const host::PanelService* service, Instance* instance,
                           const PanelWord* hints = kHints) {
    panelService = service;
    host::PanelHandle panel = service->create(host::kPanelTypeFunctions, kControls);
    if (panel == nullptr) return nullptr;
    service->describe(panel, kData, GetValue, SetValue);
    service->hint(panel, 0, hints);
    service->viewInstance(panel, instance);
    service->setData(panel, 0, instance);
    return panel;
}

}  // namespace module

class PanelService : public ::testing::Test {
protected:
    PanelService() {
        instance.zoom = {"zoom", 3.2, &log};
        instance.shift = {"shift", 0.25, &log};
        instance.tilt = {"tilt", std::numbers::pi / 4, &log};
    }

    Panel& Open() {
        host::PanelHandle handle = module::Activate(registry.service(), &instance);
        Panel* panel = registry.find(handle);
        if (panel == nullptr) throw std::runtime_error("no panel");
        log.clear();
        return *panel;
    }

    EventLog log;
    module::Instance instance{{}, {}, {}, {1.0, 2.0, 3.0}, {}, &log};
    PanelRegistry registry;
    ActivePanelRegistry active{registry};
    host::ParameterService parameterService = MakeParameterService();
    double now = 2.5;
    PanelValues values{&parameterService, [this] { return now; }};
};

TEST_F(PanelService, BuildsThePanelFromTheModulesTables) {
    char label[] = "Zoom";
    const host::PanelControl controls[] = {{module::kZoom, label, "float-env"}, {0, nullptr, nullptr}};
    host::PanelHandle copied = registry.service()->create(host::kPanelTypeFunctions, controls);
    label[0] = 'X';  // the panel keeps its own copy
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(registry.find(copied)->control(module::kZoom)->label, "Zoom");

    Panel& panel = Open();

    EXPECT_THAT(registry.calls(), ElementsAre("create(1)", "create(1)", "describe(panel 2)", "hint(panel 2, 0)",
                                              "viewInstance(panel 2)", "setData(panel 2, 0)"));
    EXPECT_THAT(registry.faults(), IsEmpty());
    EXPECT_TRUE(panel.valid());
    EXPECT_EQ(panel.controls().size(), 6u);
    EXPECT_EQ(panel.control(module::kShift)->controlClass, "percent-env");
    EXPECT_EQ(panel.dataRow(module::kInfo)->valueType, "string");
    EXPECT_EQ(panel.dataRow(module::kPicture), nullptr);
    EXPECT_EQ(panel.title(), "Test Panel");
    ASSERT_EQ(panel.groups().size(), 2u);
    EXPECT_EQ(panel.groups()[0].label, "Lens");
    EXPECT_THAT(panel.groups()[1].members, ElementsAre(module::kPicture, module::kInfo));
    EXPECT_EQ(panel.limits(module::kShift).minimum, -1000);
    EXPECT_EQ(panel.drawing(module::kPicture), &module::DrawPicture);
    ASSERT_EQ(panel.keptHints().size(), 1u);
    EXPECT_EQ(panel.keptHints()[0].tag, 0x3D000F01u);
    EXPECT_EQ(panel.instance(), &instance);
    EXPECT_EQ(registry.service()->getData(panel.handle(), 0), &instance);
    EXPECT_EQ(registry.service()->getData(panel.handle(), 7), nullptr);
}

TEST_F(PanelService, RefusesControlTablesItCannotMakeAPanelOf) {
    const host::PanelControl noClass[] = {{1, "A", nullptr}, {0, nullptr, nullptr}};
    const host::PanelControl twice[] = {{1, "A", "sInfo"}, {1, "B", "sInfo"}, {0, nullptr, nullptr}};
    std::vector<host::PanelControl> endless;
    for (PanelWord id = 1; id <= Panel::kMaxTableRows + 1; ++id) endless.push_back({id, "A", "sInfo"});
    struct Case {
        int type;
        const host::PanelControl* controls;
        const char* cause;
    };
    const Case cases[] = {
        {2, module::kControls, "panel type 2 is not the function panel type 1"},
        {1, nullptr, "the control table is null"},
        {1, noClass, "row 0: control 0x1 has no class"},
        {1, twice, "row 1: id 0x1 appears twice"},
        {1, endless.data(), "no row of zeros within 1024 rows"},
    };
    for (const Case& bad : cases) {
        EXPECT_EQ(registry.service()->create(bad.type, bad.controls), nullptr) << bad.cause;
        ASSERT_FALSE(registry.faults().empty());
        EXPECT_THAT(registry.faults().back(), HasSubstr(bad.cause));
    }
    EXPECT_THAT(registry.panels(), IsEmpty());
}

TEST_F(PanelService, MarksAPanelWithBadHintsInvalidAndKeepsTheError) {
    const PanelWord unended[] = {0x3D01FE81, module::kLensGroup, module::kZoom, 0x9999, 0, 0};
    host::PanelHandle handle = module::Activate(registry.service(), &instance, unended);

    Panel* panel = registry.find(handle);
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->valid());
    EXPECT_THAT(panel->error(), HasSubstr("panel hint entry 1 (word 0, tag 0x3D01FE81): member 0x9999 names no control"));
    EXPECT_THAT(registry.faults(), ElementsAre(panel->error()));
    // The module still reaches its instance; the workbench refuses to show the panel.
    EXPECT_EQ(registry.service()->getData(handle, 0), &instance);
    EXPECT_THAT([&] { values.layout(*panel); }, ::testing::ThrowsMessage<std::runtime_error>(HasSubstr("member 0x9999")));
    Raster raster(8, 8);
    EXPECT_THROW(registry.draw(*panel, module::kPicture, raster), std::logic_error);
}

TEST_F(PanelService, RefusesHintsItCannotRead) {
    Panel& first = Open();
    registry.service()->hint(first.handle(), 0, nullptr);
    EXPECT_THAT(first.error(), HasSubstr("the hint array is null"));

    Panel& second = Open();
    registry.service()->hint(second.handle(), module::kZoom, module::kHints);
    EXPECT_THAT(second.error(), HasSubstr("hints for control 0x101 alone are not supported"));

    // A hint array without its end tag is read up to the bound and no further.
    std::vector<PanelWord> noEnd(PanelRegistry::kHintWordBound, 0x3D999900);
    Panel& third = Open();
    registry.service()->hint(third.handle(), 0, noEnd.data());
    EXPECT_THAT(third.error(), HasSubstr("no end tag within 4096 words"));
}

TEST_F(PanelService, IgnoresCallsForUnknownPanelsAndWhenNotActive) {
    int notAPanel = 0;
    const host::PanelService* service = registry.service();
    EXPECT_EQ(service->describe(&notAPanel, module::kData, module::GetValue, module::SetValue), 0);
    EXPECT_EQ(service->getData(&notAPanel, 0), nullptr);
    EXPECT_EQ(service->viewInstance(nullptr, &instance), 0);
    EXPECT_THAT(registry.faults(), ElementsAre("describe: unknown panel", "getData: unknown panel",
                                               "viewInstance: null panel"));

    EXPECT_THAT(registry.calls(), ElementsAre("describe(unknown panel)", "getData(unknown panel, 0)",
                                              "viewInstance(null panel)"));
    EXPECT_THROW(ActivePanelRegistry second(registry), std::logic_error);
}

TEST(PanelServiceScope, ReachesOnlyTheActiveRegistry) {
    module::Instance instance{};
    PanelRegistry registry;
    EXPECT_EQ(PanelRegistry::Active(), nullptr);
    EXPECT_EQ(module::Activate(registry.service(), &instance), nullptr);
    EXPECT_THAT(registry.calls(), IsEmpty());
    {
        ActivePanelRegistry active(registry);
        EXPECT_EQ(PanelRegistry::Active(), &registry);
        EXPECT_NE(module::Activate(registry.service(), &instance), nullptr);
    }
    EXPECT_EQ(PanelRegistry::Active(), nullptr);
    EXPECT_EQ(registry.service()->getData(registry.panels()[0]->handle(), 0), nullptr);
    EXPECT_EQ(registry.panels()[0]->attached(0), &instance);
}

struct ReadCase {
    PanelId id;
    ControlKind kind;
    double shown;
    const char* text;
    EventLog calls;
};

TEST_F(PanelService, ReadsEachValueAsTheHostDoes) {
    Panel& panel = Open();
    const ReadCase cases[] = {
        {module::kZoom, ControlKind::Number, 3.2, "", {"get(0x101)", "value(zoom, t=2.5)"}},
        {module::kShift, ControlKind::Percent, 25.0, "", {"get(0x102)", "value(shift, t=2.5)"}},
        {module::kTilt, ControlKind::Angle, 45.0, "", {"get(0x103)", "value(tilt, t=2.5)"}},
        {module::kInfo, ControlKind::Text, 0.0, "Zoom 3.2", {"get(0x104)"}},
        {module::kPicture, ControlKind::Thumbnail, 0.0, "", {}},
    };
    for (const ReadCase& expected : cases) {
        SCOPED_TRACE(fmt::format("control 0x{:X}", expected.id));
        log.clear();
        const PanelValue value = values.read(panel, expected.id);
        EXPECT_EQ(value.kind, expected.kind);
        EXPECT_DOUBLE_EQ(value.shown, expected.shown);
        EXPECT_EQ(value.text, expected.text);
        EXPECT_EQ(log, expected.calls);
    }
    EXPECT_EQ(values.read(panel, module::kShift).parameter, &instance.shift);
    EXPECT_EQ(values.read(panel, module::kShift).stored, 0.25);
}

TEST_F(PanelService, RefusesValuesItCannotRead) {
    Panel& panel = Open();
    EXPECT_THROW(values.read(panel, 0x999), std::runtime_error);
    EXPECT_THAT([&] { values.read(panel, module::kOther); },
                ::testing::ThrowsMessage<std::runtime_error>(HasSubstr("control class \"iSlider\" is unknown")));

    PanelValues noParameters(nullptr, [] { return 0.0; });
    EXPECT_THAT([&] { noParameters.read(panel, module::kZoom); },
                ::testing::ThrowsMessage<std::runtime_error>(HasSubstr("no parameter service")));

    const host::PanelDataRow wrongType[] = {{module::kZoom, "", "string"}, {0, nullptr, nullptr}};
    registry.service()->describe(panel.handle(), wrongType, module::GetValue, module::SetValue);
    EXPECT_THAT([&] { values.read(panel, module::kZoom); },
                ::testing::ThrowsMessage<std::runtime_error>(
                    HasSubstr("value type \"string\" does not suit control class \"float-env\"")));
}

TEST_F(PanelService, EditsTheParameterFirstThenPassesTheValueToTheModule) {
    Panel& panel = Open();
    struct Case {
        PanelId id;
        double shown;
        double stored;
        std::size_t working;
    };
    const Case cases[] = {
        {module::kZoom, 1.5, 1.5, 0},
        {module::kShift, -50.0, -0.5, 1},
        {module::kTilt, 30.0, std::numbers::pi / 6, 2},
    };
    for (const Case& edit : cases) {
        SCOPED_TRACE(fmt::format("control 0x{:X}", edit.id));
        log.clear();
        EXPECT_EQ(values.edit(panel, edit.id, edit.shown), 1);
        ASSERT_EQ(log.size(), 3u);
        EXPECT_EQ(log[0], fmt::format("get(0x{:X})", edit.id));
        EXPECT_THAT(log[1], ::testing::StartsWith("setValue("));
        EXPECT_THAT(log[2], ::testing::StartsWith(fmt::format("set(0x{:X}, ", edit.id)));
        EXPECT_NEAR(instance.working[edit.working], edit.stored, 1e-15);
        EXPECT_NEAR(values.read(panel, edit.id).stored, edit.stored, 1e-15);
    }
}

TEST_F(PanelService, RefusesEditsOutsideTheLimitsOrOfReadOnlyControls) {
    Panel& panel = Open();
    struct Case {
        PanelId id;
        double shown;
        const char* cause;
    };
    const Case cases[] = {
        {module::kShift, 1000.5, "outside its limits -1000 to 1000"},
        {module::kTilt, -91.0, "outside its limits -90 to 90"},
        {module::kZoom, -0.1, "outside its limits 0 to -"},
        {module::kZoom, std::nan(""), "is not a finite number"},
        {module::kInfo, 1.0, "a \"sInfo\" control cannot be edited"},
        {module::kPicture, 1.0, "a \"dThumbnail\" control cannot be edited"},
    };
    for (const Case& bad : cases) {
        EXPECT_THAT([&] { values.edit(panel, bad.id, bad.shown); },
                    ::testing::ThrowsMessage<std::runtime_error>(HasSubstr(bad.cause)));
    }
    EXPECT_THAT(log, IsEmpty());
    EXPECT_EQ(instance.working[1], 2.0);
    EXPECT_EQ(values.edit(panel, module::kShift, 1000.0), 1);  // the limit itself is allowed
}

TEST_F(PanelService, LaysThePanelOutInItsUnits) {
    Panel& panel = Open();
    const PanelLayout layout = values.layout(panel);

    EXPECT_EQ(layout.title, "Test Panel");
    ASSERT_EQ(layout.groups.size(), 2u);
    const LayoutGroup& lens = layout.groups[0];
    EXPECT_EQ(lens.id, module::kLensGroup);
    EXPECT_EQ(lens.label, "Lens");
    ASSERT_EQ(lens.controls.size(), 3u);
    EXPECT_EQ(lens.controls[0].label, "Zoom");
    EXPECT_EQ(lens.controls[0].controlClass, "float-env");
    EXPECT_EQ(lens.controls[0].limits.minimum, 0);
    EXPECT_EQ(lens.controls[0].limits.maximum, std::nullopt);
    EXPECT_EQ(lens.controls[0].limits.step, 1);
    EXPECT_DOUBLE_EQ(lens.controls[0].value.shown, 3.2);
    EXPECT_EQ(lens.controls[1].label, "Shift");
    EXPECT_DOUBLE_EQ(lens.controls[1].value.shown, 25.0);
    EXPECT_EQ(lens.controls[1].limits.maximum, 1000);
    EXPECT_DOUBLE_EQ(lens.controls[2].value.shown, 45.0);
    EXPECT_EQ(lens.controls[2].limits.minimum, -90);

    const LayoutGroup& view = layout.groups[1];
    ASSERT_EQ(view.controls.size(), 2u);
    EXPECT_EQ(view.controls[0].controlClass, "dThumbnail");
    EXPECT_TRUE(view.controls[0].drawn);
    EXPECT_EQ(view.controls[1].value.text, "Zoom 3.2");
    EXPECT_FALSE(view.controls[1].drawn);

    ASSERT_EQ(layout.ungrouped.size(), 1u);
    EXPECT_EQ(layout.ungrouped[0].label, "Other");
    EXPECT_EQ(layout.ungrouped[0].value.kind, ControlKind::Unknown);
}

TEST_F(PanelService, DrawsThroughTheModulesCallbackIntoARaster) {
    Panel& panel = Open();
    Raster raster(8, 8, {255, 255, 255});
    instance.working[2] = 5.0;

    const std::vector<DrawCall> calls = registry.draw(panel, module::kPicture, raster);

    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(Describe(calls[0]), "filledBox(100, 100, 100, 0, 0, 8, 8)");
    EXPECT_EQ(Describe(calls[1]), "line(0x01FF0000, 0, 4, 5, 4)");
    EXPECT_EQ(raster.pixel(0, 4), (Rgb{255, 0, 0}));
    EXPECT_EQ(raster.pixel(5, 4), (Rgb{255, 0, 0}));
    EXPECT_EQ(raster.pixel(6, 4), (Rgb{100, 100, 100}));
    EXPECT_EQ(raster.pixel(0, 3), (Rgb{100, 100, 100}));
    EXPECT_THAT(registry.faults(), IsEmpty());

    // A drawing from the new working copy, as after an edit.
    values.edit(panel, module::kTilt, 80.0);  // 1.396 radians: a line to x = 1
    registry.draw(panel, module::kPicture, raster);
    EXPECT_EQ(raster.pixel(1, 4), (Rgb{255, 0, 0}));
    EXPECT_EQ(raster.pixel(2, 4), (Rgb{100, 100, 100}));

    EXPECT_THROW(registry.draw(panel, module::kZoom, raster), std::logic_error);
}

TEST_F(PanelService, RefusesDrawingOutsideADrawOrWhenNotActive) {
    Panel& panel = Open();
    Raster raster(4, 4);
    int notAnArea = 0;
    registry.service()->drawing->line(&notAnArea, 0x01FFFFFF, 0, 0, 3, 3);
    registry.service()->drawing->filledBox(nullptr, 1, 2, 3, 0, 0, 4, 4);
    EXPECT_THAT(registry.faults(), ElementsAre("line: unknown drawing area", "filledBox: unknown drawing area"));

    PanelRegistry other;
    EXPECT_THROW(other.draw(panel, module::kPicture, raster), std::logic_error);
}

}  // namespace
