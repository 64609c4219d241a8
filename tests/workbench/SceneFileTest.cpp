// Scene files: reading what a person writes, refusing what does not fit with
// the place it is at, and saving without ever destroying the previous file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "workbench/Errors.h"
#include "workbench/SceneFile.h"

namespace {

using namespace workbench;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

std::string ParseError(const std::string& text) {
    try {
        ParseScene(text, "scene.json");
    } catch (const SceneError& error) {
        return error.what();
    }
    return "no error";
}

TEST(SceneFile, ReadsAHandWrittenScene) {
    const Scene scene = ParseScene(R"({
      "film": {"width": 0.03, "height": 0.02},
      "resolution": {"width": 320, "height": 200},
      "frames": {"first": 1, "last": 48, "perSecond": 25},
      "shutter": {"offset": 0.25, "duration": 0.5},
      "motionSteps": 2,
      "camera": {
        "name": "Tilt cam",
        "position": [0, 1.5, {"keys": [{"time": 0, "value": -5}, {"time": 2, "value": -3, "interpolation": "linear"}]}],
        "rotation": {"pitch": 0.1},
        "focusDistance": 4, "fStop": 2.8
      },
      "settings": {"VShift": 0.1, "TiltAngle": {"value": 0, "keys": [{"time": 1, "value": 0.05, "interpolation": "stepped"}]}},
      "world": {
        "ground": {"checkerSize": 0.5},
        "boxes": [{"centre": [0, 0.5, 0], "colour": [0.8, 0.2, 0.2]}],
        "spheres": [{"centre": [2, 0.5, 1], "radius": 0.25}]
      }
    })",
                                   "scene.json");
    EXPECT_EQ(scene.film.height, 0.02);
    EXPECT_EQ(scene.resolution.width, 320);
    EXPECT_EQ(scene.frames.last, 48);
    EXPECT_EQ(scene.framesPerSecond, 25.0);
    EXPECT_EQ(scene.motionSteps, 2);
    EXPECT_EQ(scene.camera.name, "Tilt cam");
    EXPECT_EQ(scene.camera.position[1], Envelope(1.5));
    EXPECT_EQ(scene.camera.position[2],
              Envelope(-5.0, {{0.0, -5.0, Interpolation::Spline}, {2.0, -3.0, Interpolation::Linear}}));
    EXPECT_EQ(scene.camera.rotation[1], Envelope(0.1));
    EXPECT_EQ(scene.camera.rotation[0], Envelope(0.0));
    EXPECT_EQ(scene.camera.zoomFactor, Envelope(3.2));  // left out: the default
    EXPECT_EQ(scene.camera.fStop, Envelope(2.8));
    EXPECT_EQ(scene.settings.size(), 2u);
    EXPECT_EQ(scene.settings.at("TiltAngle"), Envelope(0.0, {{1.0, 0.05, Interpolation::Stepped}}));
    EXPECT_FALSE(scene.moduleData.has_value());
    ASSERT_TRUE(scene.world.ground.has_value());
    EXPECT_EQ(scene.world.ground->checkerSize, 0.5);
    ASSERT_EQ(scene.world.boxes.size(), 1u);
    EXPECT_EQ(scene.world.boxes[0].colour, (Colour{0.8, 0.2, 0.2}));
    ASSERT_EQ(scene.world.spheres.size(), 1u);
    EXPECT_EQ(scene.world.spheres[0].radius, 0.25);

    // Frame 3's shutter opens a quarter frame in and stays open half a frame.
    const host::FrameSetup frame = scene.frameSetup(3);
    EXPECT_EQ(frame.frame, 3);
    EXPECT_DOUBLE_EQ(frame.startTime, 3.25 / 25.0);
    EXPECT_DOUBLE_EQ(frame.duration, 0.5 / 25.0);
    EXPECT_EQ(frame.motionSteps, 2);
}

TEST(SceneFile, AnEmptySceneHasTheDefaults) { EXPECT_EQ(ParseScene("{}", "scene.json"), Scene{}); }

TEST(SceneFile, WritingAndReadingGivesTheSameScene) {
    Scene scene;
    scene.film = {0.1 + 0.2, 1.0 / 3.0};
    scene.frames = {-5, 100};
    scene.framesPerSecond = 29.97;
    scene.camera.position[0] = Envelope(1e-300, {{0.0, 0.1}, {0.7, -2.5e10, Interpolation::Stepped}});
    scene.camera.rotation[2] = Envelope(-std::numbers::pi);
    scene.settings.emplace("HShift", Envelope(0.123456789012345678));
    scene.moduleData = std::vector<std::uint32_t>{0, 1, 0x7fc00000, 0xffffffff};
    scene.world.ground = Ground{};
    scene.world.spheres.push_back({{1, 2, 3}, 0.75, {0.1, 0.2, 0.3}});

    EXPECT_EQ(ParseScene(FormatScene(scene), "written"), scene);
}

TEST(SceneFile, MalformedJsonIsReportedAtItsLineAndColumn) {
    struct Case {
        const char* text;
        const char* place;
    };
    const Case cases[] = {
        // The place is the last character the parser read: the stray brace, or
        // the end of the unexpected token.
        {"{\n  \"film\": {\"width\": 0.03,}\n}", "scene.json:2:26: malformed JSON"},
        {"{\n  \"motionSteps\": 1\n  \"frames\": {}\n}", "scene.json:3:10: malformed JSON"},
        {"{\"film\": ", "scene.json:1:10: malformed JSON"},
        {"", "scene.json:1:1: malformed JSON"},
    };
    for (const Case& c : cases) EXPECT_THAT(ParseError(c.text), HasSubstr(c.place)) << c.text;
}

TEST(SceneFile, NumbersBeyondADoubleAreMalformedJson) {
    for (const char* number : {"1e400", "-1e400", "108.666e777"}) {
        EXPECT_EQ(ParseError(std::string(R"({"camera": {"zoomFactor": )") + number + "}}"),
                  std::string("scene.json: malformed JSON: number overflow parsing '") + number + "'");
    }
}

TEST(SceneFile, ValuesThatDoNotFitAreReportedAtTheirPath) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"[]", "scene.json: at /: expected an object"},
        {R"({"flim": {}})", "at /flim: unknown field"},
        {R"({"film": {"width": "wide"}})", "at /film/width: expected a number"},
        {R"({"film": {"height": 0}})", "at /film/height: expected a number above zero"},
        {R"({"resolution": {"width": 64.5}})", "at /resolution/width: expected a whole number"},
        {R"({"frames": {"first": 10, "last": 2}})", "at /frames/last: the last frame comes before the first"},
        {R"({"motionSteps": -1})", "at /motionSteps: expected a whole number from 0 to 1024"},
        {R"({"shutter": {"duration": -0.5}})", "at /shutter/duration: expected a duration of zero or more"},
        {R"({"camera": {"position": [0, 0]}})", "at /camera/position: expected 3 elements"},
        {R"({"camera": {"position": [0, {"keys": [{"time": "soon", "value": 1}]}, 0]}})",
         "at /camera/position/1/keys/0/time: expected a number"},
        {R"({"camera": {"fStop": {"keys": [{"time": 1, "value": 2}, {"time": 1, "value": 3}]}}})",
         "at /camera/fStop/keys/1/time: keys must be in strictly increasing time order"},
        {R"({"camera": {"zoomFactor": {"keys": [{"value": 2}]}}})",
         "at /camera/zoomFactor/keys/0: a key needs a time and a value"},
        {R"({"settings": {"TiltAngle": {"keys": [{"time": 0, "value": 1, "interpolation": "bezier"}]}}})",
         "at /settings/TiltAngle/keys/0/interpolation: expected \"linear\", \"spline\" or \"stepped\""},
        {R"({"settings": {"Zoom": 2}})", "at /settings/Zoom: unknown field"},
        {R"({"moduleData": [1, -2]})", "at /moduleData/1: expected a whole number from 0 to 4294967295"},
        {R"({"moduleData": [4294967296]})", "at /moduleData/0: expected a whole number from 0 to 4294967295"},
        {R"({"world": {"spheres": [{}, {"radius": 0}]}})", "at /world/spheres/1/radius: expected a number above zero"},
        {R"({"world": {"ground": {"colours": [[1, 1, 1]]}}})", "at /world/ground/colours: expected 2 elements"},
        {R"({"camera": {"name": ""}})", "at /camera/name: expected a name that is not empty"},
    };
    for (const Case& c : cases) EXPECT_THAT(ParseError(c.text), HasSubstr(c.message)) << c.text;
}

TEST(SceneFile, NumbersJsonCannotHoldAreRefusedWithTheirPath) {
    Scene scene;
    scene.camera.fStop = Envelope(0.0, {{0.0, 2.0}, {1.0, std::nan("")}});
    try {
        FormatScene(scene);
        FAIL() << "a NaN was written";
    } catch (const SceneError& error) {
        EXPECT_THAT(error.what(), HasSubstr("at /camera/fStop/keys/1/value: a number that is not finite"));
    }
}

class SceneFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        directory = fs::temp_directory_path() /
                    ("workbench-scenes-" + std::to_string(getpid()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory);
        fs::create_directories(directory);
    }
    void TearDown() override { fs::remove_all(directory); }

    static std::string Contents(const fs::path& file) {
        std::ifstream stream(file);
        std::ostringstream text;
        text << stream.rdbuf();
        return text.str();
    }
    std::vector<fs::path> Files() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(directory)) files.push_back(entry.path().filename());
        return files;
    }

    fs::path directory;
};

TEST_F(SceneFileOnDisk, SaveReplacesTheFileAndLeavesNothingElse) {
    const fs::path file = directory / "shot.json";
    std::ofstream(file) << "old contents";
    Scene scene;
    scene.motionSteps = 3;
    SaveSceneFile(scene, file);
    EXPECT_EQ(LoadSceneFile(file), scene);
    EXPECT_EQ(Files(), std::vector<fs::path>{"shot.json"});
}

TEST_F(SceneFileOnDisk, FailedSaveKeepsThePreviousFile) {
    const fs::path file = directory / "shot.json";
    Scene previous;
    previous.motionSteps = 1;
    SaveSceneFile(previous, file);
    const std::string before = Contents(file);

    Scene unwritable;
    unwritable.film.width = INFINITY;
    EXPECT_THROW(SaveSceneFile(unwritable, file), SceneError);
    EXPECT_EQ(Contents(file), before);
    EXPECT_EQ(Files(), std::vector<fs::path>{"shot.json"});
}

TEST_F(SceneFileOnDisk, SaveThatCannotReplaceTheTargetCleansUp) {
    // A directory in the target's place: the final rename fails after the
    // temporary file was written.
    const fs::path target = directory / "shot.json";
    fs::create_directory(target);
    std::ofstream(target / "inside") << "kept";
    try {
        SaveSceneFile(Scene{}, target);
        FAIL() << "saving over a directory succeeded";
    } catch (const SceneError& error) {
        EXPECT_THAT(error.what(), HasSubstr("shot.json: cannot replace the scene file"));
    }
    EXPECT_EQ(Files(), std::vector<fs::path>{"shot.json"});
    EXPECT_EQ(Contents(target / "inside"), "kept");
}

TEST_F(SceneFileOnDisk, LoadErrorsNameTheFile) {
    const fs::path missing = directory / "missing.json";
    EXPECT_THROW(
        {
            try {
                LoadSceneFile(missing);
            } catch (const SceneError& error) {
                EXPECT_THAT(error.what(), HasSubstr("missing.json: cannot open the scene"));
                throw;
            }
        },
        SceneError);
    const fs::path broken = directory / "broken.json";
    std::ofstream(broken) << "{\n\n   nope }";
    EXPECT_THAT(
        [&] {
            try {
                LoadSceneFile(broken);
            } catch (const SceneError& error) {
                return std::string(error.what());
            }
            return std::string();
        }(),
        HasSubstr(broken.string() + ":3:5: malformed JSON"));
}

}  // namespace
