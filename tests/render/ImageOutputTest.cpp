// Pictures out: linear colour to sRGB bytes, and PNG files written whole.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "workbench/Errors.h"
#include "workbench/render/PngFile.h"
#include "workbench/render/Render.h"

namespace {

using namespace workbench;
using namespace workbench::render;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

TEST(Srgb, LinearValuesFollowTheSrgbCurveAndClamp) {
    Image image{3, 2, {{0.0, 1.0, 0.5}, {0.0031308, 0.2140, 0.001}, {-0.5, 2.0, std::nan("")}, {0.05, 0.8, 0.18},
                       {1e-9, 0.9999, 1.0000001}, {0.0, 0.0, 0.0}}};
    EXPECT_THAT(ToSrgb8(image), ElementsAre(0, 255, 188,  //
                                            10, 127, 3,   //
                                            0, 255, 0,    //
                                            63, 231, 118,  //
                                            0, 255, 255,  //
                                            0, 0, 0));
}

// A directory of its own for each test, removed afterwards.
class PngFile : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        directory = std::filesystem::temp_directory_path() /
                    ("render-png-" + std::to_string(getpid()) + "-" + test->name());
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    std::filesystem::path directory;
};

// The file read back with libpng as 8-bit RGB, and its size.
std::vector<std::uint8_t> ReadPng(const std::filesystem::path& file, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, file.c_str()) == 0) {
        ADD_FAILURE() << "libpng cannot read " << file << ": " << image.message;
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
        ADD_FAILURE() << "libpng cannot read " << file << ": " << image.message;
        return {};
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return rgb;
}

std::vector<std::uint8_t> Pattern(int width, int height) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < width * height * 3; ++i) rgb.push_back(static_cast<std::uint8_t>(i * 37 + i / 7));
    return rgb;
}

TEST_F(PngFile, WrittenPictureReadsBackByteForByte) {
    const std::filesystem::path file = directory / "picture.png";
    const auto rgb = Pattern(5, 3);
    WritePng(file, 5, 3, rgb);
    int width = 0, height = 0;
    EXPECT_THAT(ReadPng(file, width, height), ElementsAreArray(rgb));
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 3);
    EXPECT_THAT(entries(), ElementsAre("picture.png"));

    // Writing again replaces it.
    const auto other = Pattern(2, 4);
    WritePng(file, 2, 4, other);
    EXPECT_THAT(ReadPng(file, width, height), ElementsAreArray(other));
    EXPECT_THAT(entries(), ElementsAre("picture.png"));
}

TEST_F(PngFile, FailedWriteLeavesNothingBehind) {
    // A file in a directory that is not there.
    EXPECT_THROW(
        {
            try {
                WritePng(directory / "missing" / "picture.png", 2, 2, Pattern(2, 2));
            } catch (const WorkbenchError& error) {
                EXPECT_THAT(error.what(), HasSubstr("missing/picture.png"));
                EXPECT_THAT(error.what(), HasSubstr("No such file or directory"));
                throw;
            }
        },
        WorkbenchError);
    EXPECT_THAT(entries(), ::testing::IsEmpty());

    // A target that is a directory: the rename fails after the picture was
    // written beside it, and the temporary file goes again.
    std::filesystem::create_directory(directory / "taken.png");
    std::filesystem::create_directory(directory / "taken.png" / "inside");
    EXPECT_THROW(WritePng(directory / "taken.png", 2, 2, Pattern(2, 2)), WorkbenchError);
    EXPECT_THAT(entries(), ElementsAre("taken.png"));
    EXPECT_TRUE(std::filesystem::is_directory(directory / "taken.png" / "inside"));
}

TEST_F(PngFile, FailedWriteKeepsTheEarlierFile) {
    const std::filesystem::path file = directory / "picture.png";
    const auto rgb = Pattern(3, 3);
    WritePng(file, 3, 3, rgb);
    EXPECT_THROW(WritePng(file, 3, 3, std::span(rgb).first(26)), std::invalid_argument);
    int width = 0, height = 0;
    EXPECT_THAT(ReadPng(file, width, height), ElementsAreArray(rgb));
}

TEST_F(PngFile, PicturesOfTheWrongShapeAreRefused) {
    const auto rgb = Pattern(3, 3);  // more bytes than any case takes
    struct Case {
        int width, height;
        std::size_t bytes;
    };
    for (const Case& c : {Case{2, 2, 11}, Case{2, 2, 13}, Case{0, 2, 0}, Case{2, 0, 0}, Case{-2, -2, 12}}) {
        EXPECT_THROW(WritePng(directory / "picture.png", c.width, c.height, std::span(rgb).first(c.bytes)),
                     std::invalid_argument)
            << c.width << " × " << c.height << ", " << c.bytes << " bytes";
    }
    EXPECT_THAT(entries(), ::testing::IsEmpty());
}

}  // namespace
