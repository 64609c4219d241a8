// The camera module's settings panel, opened in the workbench's panel service
// as the host opens it: laid out, read, edited and drawn.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numbers>
#include <string>

#include "workbench/Stage.h"
#include "workbench/Workbench.h"
#include "workbench/panel/PanelRegistry.h"
#include "workbench/panel/PanelValues.h"

namespace {

using ::testing::ElementsAre;
using workbench::InstanceUpdate;
using workbench::panel::Panel;
using workbench::panel::PanelLayout;
using workbench::panel::Raster;
using workbench::panel::Rgb;
using std::numbers::pi;

constexpr Rgb kBackground{240, 240, 240};
constexpr Rgb kLines{200, 200, 200};
constexpr Rgb kMarker{255, 100, 100};

workbench::Scene PanelScene() {
    workbench::Scene scene;
    scene.film = {0.036, 0.024};
    scene.settings = {{"ZoomFactor", workbench::Envelope(2.0)}, {"HShift", workbench::Envelope(0.25)}};
    return scene;
}

class PanelEndToEnd : public ::testing::Test {
protected:
    PanelEndToEnd() {
        bench.session().provideService(host::kPanelServiceName, const_cast<host::PanelService*>(registry.service()));
    }

    void TearDown() override {
        EXPECT_THAT(bench.session().faults(), ::testing::IsEmpty());
        EXPECT_THAT(registry.faults(), ::testing::IsEmpty());
    }

    Panel& Open() {
        const host::CameraInterfaceRecord record = bench.handler().activateInterface(stage.instance());
        Panel* panel = registry.find(record.panel);
        if (panel == nullptr) throw std::logic_error("the module made no panel");
        return *panel;
    }

    // The control with that label, as a user finds it by what it shows.
    static host::PanelId ControlLabelled(const Panel& panel, const std::string& label) {
        for (const auto& control : panel.controls()) {
            if (control.label == label) return control.id;
        }
        throw std::logic_error("no control labelled " + label);
    }
    static host::PanelId ControlOfClass(const Panel& panel, const std::string& controlClass) {
        for (const auto& control : panel.controls()) {
            if (control.controlClass == controlClass) return control.id;
        }
        throw std::logic_error("no control of class " + controlClass);
    }

    workbench::panel::PanelValues Values() {
        return workbench::panel::PanelValues(
            static_cast<const host::ParameterService*>(bench.session().service(host::kParameterServiceName)),
            [this] { return bench.session().time(); });
    }

    workbench::Workbench bench{TARVELIN_MODULE_PATH};
    workbench::panel::PanelRegistry registry;
    workbench::panel::ActivePanelRegistry activeRegistry{registry};
    workbench::Stage stage{bench.handler(), PanelScene()};
};

TEST_F(PanelEndToEnd, LaysOutTheSettingsInTheirGroupsAndUnits) {
    Panel& panel = Open();
    const PanelLayout layout = Values().layout(panel);

    EXPECT_EQ(layout.title, "Tarvelin Camera");
    std::vector<std::string> groups;
    for (const auto& group : layout.groups) {
        std::string labels;
        for (const auto& control : group.controls) labels += "[" + control.label + "]";
        groups.push_back(labels);
    }
    EXPECT_THAT(groups, ElementsAre("[Zoom Factor][]", "[Horizontal Shift][Vertical Shift]", "[Direction][Angle]",
                                    "[]"));
    const auto& hShift = layout.groups[1].controls[0];
    EXPECT_EQ(hShift.value.shown, 25.0) << "percent";
    EXPECT_EQ(hShift.limits.minimum, -1000);
    EXPECT_EQ(hShift.limits.maximum, 1000);
    EXPECT_EQ(layout.groups[0].controls[1].value.text, "Focal Length 0.0mm") << "no film size before a frame";
    EXPECT_TRUE(layout.groups[3].controls[0].drawn);
}

TEST_F(PanelEndToEnd, FocalLengthLineFollowsTheFilmOfTheLastFrame) {
    Panel& panel = Open();
    stage.setupFrame(0);
    EXPECT_EQ(Values().read(panel, ControlOfClass(panel, "sInfo")).text, "Focal Length 24.0mm");
}

TEST_F(PanelEndToEnd, EditingASettingSetsItsChannelAndTellsTheHost) {
    Panel& panel = Open();
    bench.session().clearInstanceUpdates();

    EXPECT_EQ(Values().edit(panel, ControlLabelled(panel, "Angle"), 22.5), 1);

    EXPECT_DOUBLE_EQ(stage.setting("TiltAngle")->envelope.valueAt(bench.session().time()), pi / 8);
    EXPECT_THAT(bench.session().instanceUpdates(),
                ElementsAre(InstanceUpdate{"CameraHandler", stage.instance().data()}));
}

// The diagram draws from the settings the panel last stored: a tilt of 22.5
// degrees toward direction 0 puts the marker 14.5 pixels above the centre.
TEST_F(PanelEndToEnd, DiagramShowsTheEditedTilt) {
    Panel& panel = Open();
    Raster untilted(100, 100);
    registry.draw(panel, ControlOfClass(panel, "dThumbnail"), untilted);
    ASSERT_EQ(Values().edit(panel, ControlLabelled(panel, "Angle"), 22.5), 1);
    Raster tilted(100, 100);
    const auto calls = registry.draw(panel, ControlOfClass(panel, "dThumbnail"), tilted);

    EXPECT_EQ(calls.size(), 76u);
    for (int y = 13; y < 18; ++y) {
        for (int x = 38; x < 43; ++x) {
            EXPECT_EQ(tilted.pixel(x, y), kMarker) << x << ", " << y;
            EXPECT_NE(untilted.pixel(x, y), kMarker) << x << ", " << y;
        }
    }
    EXPECT_EQ(untilted.pixel(40, 30), kMarker) << "no tilt: the marker sits on the centre";
    EXPECT_EQ(tilted.pixel(40, 30), kLines) << "the cross lines show through once the marker moves";
    EXPECT_EQ(tilted.pixel(68, 33), kLines) << "the rim";
    EXPECT_EQ(tilted.pixel(50, 45), kBackground);
    EXPECT_EQ(tilted.pixel(95, 95), kBackground);
}

}  // namespace
