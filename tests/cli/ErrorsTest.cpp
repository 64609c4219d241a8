// Every way the command line is given bad input ends with one clear line on
// stderr, the exit status of its kind, no crash and no file written.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "CliFixture.h"

namespace cli_test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using ::testing::StartsWith;

constexpr int kFailure = 1;
constexpr int kUsage = 2;

struct ErrorCase {
    const char* name;
    std::vector<std::string> arguments;  // OUT/ names the test's output folder, SCENES/ the test scenes
    int exitCode;
    std::string message;  // part of the stderr line, with the same placeholders
};

std::ostream& operator<<(std::ostream& out, const ErrorCase& error) { return out << error.name; }

const ErrorCase kErrorCases[] = {
    // The command line itself.
    {"NoCommand", {}, kUsage, "no command given; the commands are render, preview, panel, focus and info"},
    {"UnknownCommand", {"frobnicate"}, kUsage, "unknown command \"frobnicate\""},
    {"UnknownOption", {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--fast"}, kUsage, "--fast"},
    {"UnknownGlobalOption", {"--verbose", "info"}, kUsage, "--verbose"},
    {"NoScene", {"preview", "--out", "OUT/x.png"}, kUsage, "SCENE is required"},
    {"NoOut", {"render", "SCENES/tiny.json"}, kUsage, "--out is required"},
    {"ZeroWidth",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--size", "0x3"},
     kUsage,
     "--size: each side of 0x3 must be from 1 to 16384 pixels"},
    {"NegativeHeight",
     {"preview", "SCENES/tiny.json", "--out", "OUT/x.png", "--size", "4x-3"},
     kUsage,
     "--size: each side of 4x-3"},
    {"NegativeWidth",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--size", "-4x3"},
     kUsage,
     "--size: each side of -4x3"},
    {"HugeSize",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--size", "4x99999"},
     kUsage,
     "--size: each side of 4x99999"},
    {"NotASize",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--size", "big"},
     kUsage,
     "--size: \"big\" is not a size WIDTHxHEIGHT"},
    {"ZeroSamples",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--spp", "0"},
     kUsage,
     "--spp: must be at least 1, not 0"},
    {"NegativeSamples",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--spp", "-3"},
     kUsage,
     "--spp: must be at least 1, not -3"},
    {"SamplesNotANumber",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--spp", "2.5"},
     kUsage,
     "--spp: \"2.5\" is not a whole number"},
    {"SamplesOverflow",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--spp", "99999999999"},
     kUsage,
     "--spp: 99999999999 is too large"},
    {"NegativeThreads",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--threads", "-1"},
     kUsage,
     "--threads: must be at least 0, not -1"},
    {"ZeroLensSamples",
     {"preview", "SCENES/tiny.json", "--out", "OUT/x.png", "--lens-samples", "0"},
     kUsage,
     "--lens-samples: must be at least 1, not 0"},
    {"NegativeFrame", {"panel", "SCENES/tiny.json", "--frame", "-1"}, kUsage, "--frame: must be at least 0, not -1"},
    {"BackwardsRange",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--frames", "2-1"},
     kUsage,
     "--frames: the frame range 2-1 runs backwards"},
    {"NotARange",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--frames", "1..2"},
     kUsage,
     "--frames: \"1..2\" is not a frame range"},
    {"FrameAndRange",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--frame", "1", "--frames", "0-1"},
     kUsage,
     "--frame excludes --frames"},
    // Frames the scene does not have.
    {"FrameAfterScene",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--frame", "3"},
     kFailure,
     "frame 3 is outside the scene's frames 0-2"},
    {"RangeAfterScene",
     {"render", "SCENES/tiny.json", "--out", "OUT/x.png", "--frames", "1-5"},
     kFailure,
     "frame 5 is outside the scene's frames 0-2"},
    {"PreviewFrameAfterScene",
     {"preview", "SCENES/tiny.json", "--out", "OUT/x.png", "--frame", "9"},
     kFailure,
     "frame 9 is outside"},
    {"PanelFrameAfterScene",
     {"panel", "SCENES/tiny.json", "--frame", "3", "--out", "OUT/x.png"},
     kFailure,
     "frame 3 is outside"},
    // Scenes.
    {"MissingScene",
     {"render", "SCENES/none.json", "--out", "OUT/x.png"},
     kFailure,
     "SCENES/none.json: cannot open the scene: No such file or directory"},
    {"MalformedScene",
     {"preview", "SCENES/broken.json", "--out", "OUT/x.png"},
     kFailure,
     "SCENES/broken.json:3:30: malformed JSON"},
    {"MisspeltSceneField",
     {"panel", "SCENES/wrong-field.json"},
     kFailure,
     "SCENES/wrong-field.json: at /camera/zoom: unknown field"},
    {"SceneIsAFolder", {"render", "SCENES", "--out", "OUT/x.png"}, kFailure, "cannot read the scene: a directory"},
    {"UnknownDemo",
     {"render", "demo:nothing", "--out", "OUT/x.png"},
     kFailure,
     "no built-in scene demo:nothing (known: demo:architecture, demo:miniature, demo:plain, demo:tabletop)"},
    // Modules.
    {"ModuleMissing",
     {"--module", "OUT/none.so", "info"},
     kFailure,
     "OUT/none.so: not a module, or it cannot be opened"},
    {"ModuleNotALibrary", {"info", "SCENES/tiny.json"}, kFailure, "SCENES/tiny.json: not a module"},
    {"ModuleRefusesActivation",
     {"--module", TINY_MISSING_SERVICE, "render", "SCENES/tiny.json", "--out", "OUT/x.png"},
     kFailure,
     "is missing a host service it needs (activation status 2)"},
    {"ModuleOptionAfterCommand",
     {"panel", "SCENES/tiny.json", "--module", "SCENES/tiny.json"},
     kFailure,
     "SCENES/tiny.json: not a module"},
    // Output files.
    {"OutputFolderMissing",
     {"render", "SCENES/tiny.json", "--out", "OUT/none/x.png"},
     kFailure,
     "OUT/none/x.png: cannot write: the folder OUT/none does not exist"},
    {"OutputIsAFolder", {"preview", "SCENES/tiny.json", "--out", "OUT/."}, kFailure, "cannot write: it is a folder"},
    {"OutputHasNoName", {"render", "SCENES/tiny.json", "--out", "OUT/"}, kFailure, "cannot write: no file name"},
    {"OutputBelowAFile",
     {"render", "SCENES/tiny.json", "--out", "SCENES/tiny.json/x.png"},
     kFailure,
     "SCENES/tiny.json/x.png: cannot write: SCENES/tiny.json is not a folder"},
    // /proc takes no new files, even from root: these fail when the picture is written.
    {"UnwritablePicture", {"render", "SCENES/tiny.json", "--out", "/proc/tarvelin-cli-test.png", "--spp", "1"},
     kFailure, "/proc/tarvelin-cli-test.png"},
    {"UnwritableDiagram", {"panel", "SCENES/tiny.json", "--out", "/proc/tarvelin-cli-test.png"}, kFailure,
     "/proc/tarvelin-cli-test.png"},
    {"DiagramFolderMissing",
     {"panel", "SCENES/tiny.json", "--out", "OUT/none/d.png"},
     kFailure,
     "the folder OUT/none does not exist"},
    // Focusing: the tiny scene's camera stands at (0, 1, -4) looking along +z.
    {"FocusWithoutPoints", {"focus", "SCENES/tiny.json"}, kUsage, "--through is required"},
    {"FocusOnTwoPoints", {"focus", "SCENES/tiny.json", "--through", "0,0,0", "1,0,0"}, kUsage, "--through"},
    {"FocusOnFourPoints",
     {"focus", "SCENES/tiny.json", "--through", "0,0,0", "1,0,0", "0,1,0", "0,0,1"},
     kUsage,
     "--through: At Most 3 required but received 4"},
    {"FocusPointOfTwoNumbers",
     {"focus", "SCENES/tiny.json", "--through", "0,0", "1,0,0", "0,1,0"},
     kUsage,
     "--through: \"0,0\" is not a point X,Y,Z"},
    {"FocusPointNotNumbers",
     {"focus", "SCENES/tiny.json", "--through", "0,0,0", "1,x,0", "0,1,0"},
     kUsage,
     "\"1,x,0\" is not a point"},
    {"FocusPointNotFinite",
     {"focus", "SCENES/tiny.json", "--through", "0,0,0", "1,0,inf", "0,1,0"},
     kUsage,
     "the point 1,0,inf is not finite"},
    {"FocusFrameAfterScene",
     {"focus", "SCENES/tiny.json", "--through", "0,0,0", "1,0,0", "0,1,1", "--frame", "3"},
     kFailure,
     "frame 3"},
    {"FocusPointsCoincide",
     {"focus", "SCENES/tiny.json", "--through", "0,0,0", "1,0,0", "1,0,0", "--save", "OUT/f.json"},
     kFailure,
     "points 2 and 3 coincide"},
    {"FocusPointsOnOneLine",
     {"focus", "SCENES/tiny.json", "--through", "0,0,0", "1,0,0", "-2,0,0", "--save", "OUT/f.json"},
     kFailure,
     "the three points lie on one line"},
    {"FocusPlaneAlongTheView",
     {"focus", "SCENES/tiny.json", "--through", "-1,0,0", "1,0,0", "0,0,3", "--save", "OUT/f.json"},
     kFailure,
     "holds the camera's view direction"},
    {"FocusPlaneBehindTheCamera",
     {"focus", "SCENES/tiny.json", "--through", "0,0,-5", "1,0,-5", "0,1,-6", "--save", "OUT/f.json"},
     kFailure,
     "meets the camera's view axis behind the camera"},
    {"FocusSaveFolderMissing",
     {"focus", "SCENES/tiny.json", "--through", "0,0,0", "1,0,0", "0,1,-1", "--save", "OUT/none/f.json"},
     kFailure,
     "the folder OUT/none does not exist"},
};

class Errors : public CliTest, public ::testing::WithParamInterface<ErrorCase> {
protected:
    std::string Expand(const std::string& text) const {
        std::string expanded = text;
        for (const auto& [placeholder, path] :
             {std::pair<std::string, std::string>{"OUT/", folder().string() + "/"}, {"SCENES", CLI_TEST_SCENES}}) {
            for (auto at = expanded.find(placeholder); at != std::string::npos;
                 at = expanded.find(placeholder, at + path.size())) {
                expanded.replace(at, placeholder.size(), path);
            }
        }
        return expanded;
    }
};

TEST_P(Errors, EndWithOneLineAndNoFile) {
    std::vector<std::string> arguments;
    for (const std::string& argument : GetParam().arguments) arguments.push_back(Expand(argument));

    const ChildResult result = Run(arguments);

    ASSERT_TRUE(result.exited) << "ended by signal " << result.signal << "\n" << result.err;
    EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.err;
    EXPECT_THAT(result.out, IsEmpty());
    EXPECT_THAT(Lines(result.err), SizeIs(1)) << result.err;
    EXPECT_THAT(result.err, StartsWith("tarvelin: "));
    EXPECT_THAT(result.err, HasSubstr(Expand(GetParam().message)));
    EXPECT_THAT(OutputFiles(), IsEmpty()) << "nothing written, no temporary file left";
}

INSTANTIATE_TEST_SUITE_P(CommandLine, Errors, ::testing::ValuesIn(kErrorCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A failed run leaves a file that was already there as it was.
TEST_F(CliTest, FailedRunKeepsAnEarlierFile) {
    const std::string out = Output("x.png");
    std::ofstream(out) << "earlier";
    const ChildResult result = Run({"render", Scene("tiny.json"), "--out", out, "--frame", "7"});
    EXPECT_EQ(result.exitCode, kFailure);
    std::ifstream stream(out);
    std::string text;
    std::getline(stream, text);
    EXPECT_EQ(text, "earlier");
    EXPECT_THAT(OutputFiles(), ::testing::ElementsAre("x.png"));
}

}  // namespace
}  // namespace cli_test
