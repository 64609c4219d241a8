// Painting lines and boxes into a raster, with clipping at every edge.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <sstream>
#include <utility>

#include "workbench/panel/DrawingSurface.h"
#include "workbench/panel/Raster.h"

namespace {

using namespace workbench::panel;
using Pixels = std::set<std::pair<int, int>>;

constexpr Rgb kInk{10, 20, 30};

// The pixels that differ from the background.
Pixels Painted(const Raster& raster, Rgb background = {}) {
    Pixels painted;
    for (int y = 0; y < raster.height(); ++y) {
        for (int x = 0; x < raster.width(); ++x) {
            if (raster.pixel(x, y) != background) painted.insert({x, y});
        }
    }
    return painted;
}

TEST(Raster, RefusesSizesOutsideItsRange) {
    for (const auto& [width, height] : {std::pair{0, 5}, {5, 0}, {-1, 5}, {Raster::kMaxSide + 1, 1}}) {
        EXPECT_THROW(Raster(width, height), std::invalid_argument) << width << "x" << height;
    }
    const Raster raster(3, 2, {1, 2, 3});
    EXPECT_EQ(raster.pixels().size(), 6u);
    EXPECT_EQ(raster.pixel(2, 1), (Rgb{1, 2, 3}));
    EXPECT_THROW(raster.pixel(3, 0), std::out_of_range);
    EXPECT_THROW(raster.pixel(0, -1), std::out_of_range);
}

struct BoxCase {
    const char* name;
    std::int64_t x, y, width, height;
    Pixels expected;
};

void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.name; }

class FilledBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(FilledBoxes, PaintOnlyTheirPartInsideTheRaster) {
    const BoxCase& box = GetParam();
    Raster raster(6, 4);
    raster.fillBox(box.x, box.y, box.width, box.height, kInk);
    EXPECT_EQ(Painted(raster), box.expected);
}

Pixels All(int width, int height) {
    Pixels all;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) all.insert({x, y});
    }
    return all;
}

const BoxCase kBoxes[] = {
    {"Inside", 1, 1, 3, 2, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}}},
    {"OnePixel", 5, 3, 1, 1, {{5, 3}}},
    {"OverTopLeftCorner", -2, -2, 4, 3, {{0, 0}, {1, 0}}},
    {"OverBottomRightCorner", 4, 2, 10, 10, {{4, 2}, {5, 2}, {4, 3}, {5, 3}}},
    {"LeftOfRaster", -5, 0, 5, 4, {}},
    {"BelowRaster", 0, 4, 6, 1, {}},
    {"ZeroWidth", 1, 1, 0, 2, {}},
    {"NegativeHeight", 1, 3, 2, -2, {}},
    {"HugeCoversAll", INT32_MIN, INT32_MIN, std::int64_t{INT32_MAX} * 2, std::int64_t{INT32_MAX} * 2, All(6, 4)},
    {"HugeFarAway", INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, {}},
    {"Widest", INT64_MIN, 1, INT64_MAX, 1, {}},
    {"WidestFromInside", 5, 0, INT64_MAX, 1, {{5, 0}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, FilledBoxes, ::testing::ValuesIn(kBoxes),
                         [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
    const char* name;
    std::int32_t x1, y1, x2, y2;
    Pixels expected;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

class Lines : public ::testing::TestWithParam<LineCase> {};

TEST_P(Lines, PaintTheNearestPixelsInsideTheRaster) {
    const LineCase& line = GetParam();
    Raster raster(6, 4);
    raster.drawLine(line.x1, line.y1, line.x2, line.y2, kInk);
    EXPECT_EQ(Painted(raster), line.expected);
}

const LineCase kLines[] = {
    {"Point", 2, 1, 2, 1, {{2, 1}}},
    {"Horizontal", 1, 2, 4, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
    {"VerticalUpwards", 3, 3, 3, 0, {{3, 0}, {3, 1}, {3, 2}, {3, 3}}},
    {"Diagonal", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
    // Slope 1/3: offsets 1/3 and 2/3 round to 0 and 1.
    {"Shallow", 0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
    {"ShallowReversed", 3, 1, 0, 0, {{3, 1}, {2, 1}, {1, 0}, {0, 0}}},
    // Slope 1/2: the half at x = 1 rounds away from the start point.
    {"HalfFromLeft", 0, 0, 2, 1, {{0, 0}, {1, 1}, {2, 1}}},
    {"HalfFromRight", 2, 1, 0, 0, {{2, 1}, {1, 0}, {0, 0}}},
    {"Steep", 1, 0, 2, 3, {{1, 0}, {1, 1}, {2, 2}, {2, 3}}},
    {"CrossingTheRaster", -5, 2, 10, 2, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}},
    {"LeavingAtTheBottom", 4, 1, 4, 9, {{4, 1}, {4, 2}, {4, 3}}},
    {"WhollyLeft", -9, 0, -1, 3, {}},
    {"WhollyBelow", 0, 4, 5, 100, {}},
    {"PassingACornerOutside", -1, 1, 1, -1, {{0, 0}}},
    {"HugeDiagonal", INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
    {"HugeHorizontal", INT32_MAX, 3, INT32_MIN, 3, {{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}}},
    {"HugeFarAway", INT32_MIN, INT32_MAX, INT32_MIN, INT32_MIN, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Lines, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Lines, ClippedLinesPaintWhatTheWholeLineHasInTheRaster) {
    // Each line drawn into a small raster must match the same window of the
    // line drawn whole into a large one.
    constexpr int kOffset = 40;
    const int ends[][4] = {{-30, -7, 25, 19}, {37, -3, -12, 11}, {2, -40, 5, 44}, {-20, 3, 30, 4}, {9, 9, -33, -38}};
    for (const auto& end : ends) {
        Raster small(10, 8);
        Raster large(100, 100);
        small.drawLine(end[0], end[1], end[2], end[3], kInk);
        large.drawLine(end[0] + kOffset, end[1] + kOffset, end[2] + kOffset, end[3] + kOffset, kInk);
        Pixels window;
        for (const auto& [x, y] : Painted(large)) {
            if (x >= kOffset && x < kOffset + 10 && y >= kOffset && y < kOffset + 8) {
                window.insert({x - kOffset, y - kOffset});
            }
        }
        EXPECT_EQ(Painted(small), window) << end[0] << "," << end[1] << " to " << end[2] << "," << end[3];
        EXPECT_FALSE(window.empty());
    }
}

TEST(DrawingSurface, PaintsTheColoursItIsGivenAndRecordsEveryCall) {
    Raster raster(4, 4);
    DrawingSurface surface(raster);
    surface.line(0x01FF8001, 0, 0, 3, 0);
    surface.line(0x00FFFFFF, 0, 1, 3, 1);  // not an RGB word: recorded, not painted
    surface.filledBox(300, -5, 128, 0, 2, 1, 1);

    EXPECT_EQ(raster.pixel(3, 0), (Rgb{255, 128, 1}));
    EXPECT_EQ(raster.pixel(2, 1), (Rgb{}));
    EXPECT_EQ(raster.pixel(0, 2), (Rgb{255, 0, 128}));
    ASSERT_EQ(surface.calls().size(), 3u);
    EXPECT_EQ(Describe(surface.calls()[0]), "line(0x01FF8001, 0, 0, 3, 0)");
    EXPECT_FALSE(surface.calls()[1].painted);
    EXPECT_EQ(Describe(surface.calls()[2]), "filledBox(300, -5, 128, 0, 2, 1, 1)");
}

TEST(Raster, WritesABinaryPpm) {
    Raster raster(2, 1, {1, 2, 3});
    raster.fillBox(1, 0, 1, 1, {250, 251, 252});
    std::ostringstream out;
    raster.writePpm(out);
    EXPECT_EQ(out.str(), std::string("P6\n2 1\n255\n\x01\x02\x03\xFA\xFB\xFC", 17));
}

}  // namespace
