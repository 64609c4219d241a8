// What each command prints and writes when it works: help, the module's
// description, the settings panel with its drawing, pictures, and focusing
// on three points.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <cmath>
#include <iterator>
#include <numbers>

#include "CliFixture.h"
#include "workbench/SceneFile.h"
#include "workbench/Stage.h"
#include "workbench/Workbench.h"

namespace cli_test {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

std::string FileText(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), {}};
}

// The panel's control line that starts with `label`, or an empty text.
std::string ControlLine(const std::string& out, const std::string& label) {
    for (const std::string& line : Lines(out)) {
        if (line.starts_with("    " + label + " ")) return line;
    }
    return {};
}

TEST_F(CliTest, HelpListsTheCommandsAndExitStatuses) {
    const ChildResult result = Run({"--help"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.out, AllOf(HasSubstr("render"), HasSubstr("preview"), HasSubstr("panel"), HasSubstr("focus"), HasSubstr("info"),
                                  HasSubstr("--module"), HasSubstr("2 the command line is wrong")));

    const ChildResult render = Run({"render", "--help"});
    EXPECT_EQ(render.exitCode, 0) << render.err;
    EXPECT_THAT(render.out, AllOf(HasSubstr("--frames"), HasSubstr("shot.0012.png"), HasSubstr("--spp"),
                                  HasSubstr("0 uses every core"), HasSubstr("--size")));
    EXPECT_THAT(render.err, IsEmpty());
}

// The module beside the program when none is named, and the same module named.
TEST_F(CliTest, InfoDescribesTheBuiltModule) {
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"info"},
                                                      {"info", TARVELIN_MODULE_PATH},
                                                      {"--module", TARVELIN_MODULE_PATH, "info"}}) {
        const ChildResult result = Run(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_THAT(result.err, IsEmpty());
        const auto lines = Lines(result.out);
        ASSERT_EQ(lines.size(), 6u) << result.out;
        EXPECT_THAT(lines[0], HasSubstr("TarvelinCam.so"));
        EXPECT_EQ(lines[1], "Descriptor: sync word 0x04121994, version 3, machine 0x300");
        EXPECT_EQ(lines[2], "Servers:");
        EXPECT_THAT(lines[3], AllOf(StartsWith("  CameraHandler "), HasSubstr(" TarvelinCamera0.1.5 "),
                                    HasSubstr("no user names")));
        EXPECT_THAT(lines[4], AllOf(StartsWith("  CameraInterface "), HasSubstr(" TarvelinCamera0.1.5 "),
                                    HasSubstr("no user names")));
        EXPECT_EQ(lines[5], "Camera description: OrrenCamera");
    }
}

// The test scene's settings in the panel's units: shifts in percent, angles in
// degrees, the zoom keyed from 2 at 0 s to 3 at 1 s on a 24 mm high film.
TEST_F(CliTest, PanelShowsTheSettingsInTheirGroupsAndUnits) {
    const ChildResult result = Run({"panel", Scene("panel.json")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.err, IsEmpty());

    std::vector<std::string> outline;
    for (const std::string& line : Lines(result.out)) {
        if (!line.starts_with("    ")) outline.push_back(line);
    }
    EXPECT_THAT(outline, ElementsAre("Panel at frame 0 (0 s)", "Tarvelin Camera", "  group 0x8008", "  group 0x8009",
                                     "  group 0x800a", "  group 0x800b"));
    EXPECT_THAT(ControlLine(result.out, "Zoom Factor"), AllOf(HasSubstr(" 2 "), HasSubstr("min 0, step 1")));
    EXPECT_THAT(Lines(result.out), Contains(HasSubstr("Focal Length 24.0mm")));
    EXPECT_THAT(ControlLine(result.out, "Horizontal Shift"),
                AllOf(HasSubstr(" 25 % "), HasSubstr("min -1000 %, max 1000 %")));
    EXPECT_THAT(ControlLine(result.out, "Vertical Shift"), HasSubstr(" -10 % "));
    EXPECT_THAT(ControlLine(result.out, "Direction"),
                AllOf(HasSubstr(" 90 deg "), HasSubstr("min -360 deg, max 360 deg")));
    EXPECT_THAT(ControlLine(result.out, "Angle"), AllOf(HasSubstr(" 15 deg "), HasSubstr("min -90 deg, max 90 deg")));
}

TEST_F(CliTest, PanelShowsTheValuesAtTheFrameAsked) {
    const ChildResult result = Run({"panel", Scene("panel.json"), "--frame", "24"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(Lines(result.out), Contains("Panel at frame 24 (1 s)"));
    EXPECT_THAT(ControlLine(result.out, "Zoom Factor"), HasSubstr(" 3 "));
    EXPECT_THAT(Lines(result.out), Contains(HasSubstr("Focal Length 36.0mm")));
}

// The diagram follows the tilt: the tilted test scene and an untilted demo
// give different pictures.
TEST_F(CliTest, PanelWritesTheDiagramAsPng) {
    const ChildResult tilted = Run({"panel", Scene("panel.json"), "--out", Output("tilted.png")});
    ASSERT_EQ(tilted.exitCode, 0) << tilted.err;
    EXPECT_THAT(Lines(tilted.out), Contains("wrote " + Output("tilted.png") + " (100x100)"));
    const ChildResult untilted = Run({"panel", "demo:plain", "--out", Output("untilted.png")});
    ASSERT_EQ(untilted.exitCode, 0) << untilted.err;

    EXPECT_EQ(ReadPngSize(Output("tilted.png")), (PngSize{100, 100}));
    EXPECT_EQ(ReadPngSize(Output("untilted.png")), (PngSize{100, 100}));
    EXPECT_NE(FileText(Output("tilted.png")), FileText(Output("untilted.png")));
    EXPECT_THAT(OutputFiles(), ElementsAre("tilted.png", "untilted.png"));
}

// Rendering itself is the renderer's to test; here only that the options
// reach it and the files are named as promised. These run the real renderer.
TEST_F(CliTest, RenderWritesOneFrameAtTheSizeAsked) {
    const ChildResult result = Run(
        {"render", Scene("tiny.json"), "--out", Output("one.png"), "--size", "5x4", "--spp", "1", "--threads", "1"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.err, IsEmpty()) << "no progress bar when stderr is no terminal";
    EXPECT_EQ(result.out, "wrote " + Output("one.png") + " (frame 0, 5x4)\n");
    EXPECT_EQ(ReadPngSize(Output("one.png")), (PngSize{5, 4}));
    EXPECT_THAT(OutputFiles(), ElementsAre("one.png"));
}

TEST_F(CliTest, RenderShowsProgressOnATerminalAndEndsItsLine) {
    if (!PseudoTerminalsAvailable()) GTEST_SKIP() << "this machine has no pseudo-terminals";
    const ChildResult result =
        RunChild(TARVELIN_PROGRAM,
                 {"render", Scene("tiny.json"), "--out", Output("one.png"), "--spp", "1", "--threads", "1"},
                 ChildOutput::Terminal);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.err, StartsWith("\rframe 0 ["));
    EXPECT_THAT(result.err, EndsWith("] 100%\r\nwrote " + Output("one.png") + " (frame 0, 4x3)\r\n"))
        << "the bar's line ends before the program goes on";
}

TEST_F(CliTest, RenderNumbersTheFilesOfARange) {
    const ChildResult result = Run(
        {"render", Scene("tiny.json"), "--out", Output("shot.png"), "--frames", "1-2", "--spp", "1", "--threads", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(OutputFiles(), ElementsAre("shot.0001.png", "shot.0002.png"));
    EXPECT_EQ(ReadPngSize(Output("shot.0002.png")), (PngSize{4, 3})) << "the scene's resolution";
}

TEST_F(CliTest, PreviewWritesTheViewAtTheSizeAsked) {
    const ChildResult result =
        Run({"preview", Scene("tiny.json"), "--out", Output("view.png"), "--size", "6x5", "--lens-samples", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadPngSize(Output("view.png")), (PngSize{6, 5}));
}

TEST_F(CliTest, BuiltInScenesRender) {
    for (const char* demo : {"demo:miniature", "demo:architecture", "demo:plain", "demo:tabletop"}) {
        const ChildResult result =
            Run({"render", demo, "--out", Output("demo.png"), "--size", "3x2", "--spp", "1", "--threads", "1"});
        EXPECT_EQ(result.exitCode, 0) << demo << ": " << result.err;
        EXPECT_EQ(ReadPngSize(Output("demo.png")), (PngSize{3, 2})) << demo;
    }
}

// The tiny scene's camera stands at (0, 1, -4) looking along +z. The points
// span a plane through the x axis that rises towards the camera, 3 m ahead
// along the view axis: tilted 45 degrees, with the top of the picture nearer.
const std::vector<std::string> kRisingPlane = {"--through", "0,0,0", "1,0,0", "0,1,-1"};

TEST_F(CliTest, FocusPrintsTheTiltAndFocusDistance) {
    std::vector<std::string> arguments = {"focus", Scene("tiny.json")};
    arguments.insert(arguments.end(), kRisingPlane.begin(), kRisingPlane.end());
    const ChildResult result = Run(arguments);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.err, IsEmpty());
    EXPECT_THAT(Lines(result.out), ElementsAre("Focus at frame 0 (0 s) through the three points:",
                                               "    Tilt direction     0 deg", "    Tilt angle         -45 deg",
                                               "    Focus distance     3 m"));
    EXPECT_THAT(OutputFiles(), IsEmpty());
}

// The tilt settings become keys of the camera's channels and the focus
// distance a key of the camera's, at the frame's time; the rest of the scene
// stays as it was.
TEST_F(CliTest, FocusSavesTheSceneWithKeysAtTheFrame) {
    std::vector<std::string> arguments = {"focus", Scene("tiny.json"), "--frame", "2", "--save", Output("f.json")};
    arguments.insert(arguments.end(), kRisingPlane.begin(), kRisingPlane.end());
    const ChildResult result = Run(arguments);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(Lines(result.out), Contains("wrote " + Output("f.json") + " (keys at 0.0833333 s)"));

    const workbench::Scene before = workbench::LoadSceneFile(Scene("tiny.json"));
    const workbench::Scene saved = workbench::LoadSceneFile(Output("f.json"));
    const double time = 2.0 / 24.0;
    const auto keyAt = [time](const workbench::Envelope& envelope) {
        EXPECT_EQ(envelope.keys().size(), 1u);
        return envelope.keys().empty() || envelope.keys().front().time != time ? NAN : envelope.keys().front().value;
    };
    EXPECT_DOUBLE_EQ(keyAt(saved.settings.at("TiltDirection")), 0.0);
    EXPECT_DOUBLE_EQ(keyAt(saved.settings.at("TiltAngle")), -std::numbers::pi / 4);
    EXPECT_DOUBLE_EQ(keyAt(saved.camera.focusDistance), 3.0);
    EXPECT_FALSE(saved.moduleData) << "a scene of channels stays one of channels";

    workbench::Scene unchanged = saved;
    unchanged.camera.focusDistance = before.camera.focusDistance;
    unchanged.settings.erase("TiltDirection");
    unchanged.settings.erase("TiltAngle");
    EXPECT_EQ(unchanged.camera, before.camera);
    EXPECT_EQ(unchanged.world, before.world);
    EXPECT_EQ(unchanged.frames, before.frames);
}

// The module's own scene data decides the settings of a scene that has it, so
// the keys go into it, and the camera shows them at the frame.
TEST_F(CliTest, FocusKeysReachTheModulesOwnSceneData) {
    {
        workbench::Workbench bench(TARVELIN_MODULE_PATH);
        const workbench::Stage stage(bench.handler(), workbench::LoadSceneFile(Scene("panel.json")));
        workbench::SaveSceneFile(stage.capture(), Output("data.json"));
    }
    // The camera stands at the origin with the tilt direction at 90 degrees.
    // The plane holds the up axis and turns 45 degrees towards the camera on
    // the right, 2 m ahead.
    const ChildResult result = Run({"focus", Output("data.json"), "--frame", "24", "--through", "0,0,2", "0,1,2",
                                    "1,0,1", "--save", Output("focused.json")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(Lines(result.out), Contains("    Tilt direction     90 deg"));
    ASSERT_TRUE(workbench::LoadSceneFile(Output("focused.json")).moduleData);

    const ChildResult panel = Run({"panel", Output("focused.json"), "--frame", "24"});
    ASSERT_EQ(panel.exitCode, 0) << panel.err;
    EXPECT_THAT(ControlLine(panel.out, "Direction"), HasSubstr(" 90 deg "));
    EXPECT_THAT(ControlLine(panel.out, "Angle"), HasSubstr(" -45 deg "));
}

// A plane seen almost edge on needs a tilt so steep that the interactive
// view's near distance nearly vanishes: the answer comes with a warning.
TEST_F(CliTest, FocusWarnsOfASteepTilt) {
    // A plane along the x axis through the point 3 m ahead, whose normal is
    // 87 degrees from the view axis: it rises steeply towards the camera.
    const double slant = 87.0 * std::numbers::pi / 180.0;
    const std::string rising = "0," + std::to_string(1.0 + std::cos(slant)) + "," + std::to_string(-1.0 - std::sin(slant));
    const ChildResult result = Run({"focus", Scene("tiny.json"), "--through", "0,1,-1", "1,1,-1", rising});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(Lines(result.out), Contains(StartsWith("    Tilt angle         -87")));
    EXPECT_THAT(Lines(result.err), ElementsAre(AllOf(StartsWith("tarvelin: warning: a tilt of -87"),
                                                     HasSubstr("near distance falls to 0.0523 of the focal length"))));
}

}  // namespace
}  // namespace cli_test
