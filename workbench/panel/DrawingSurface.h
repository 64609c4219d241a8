#pragma once
// What a control's drawing area stands for while its callback runs: the
// raster being painted and a record of every drawing call made into it.

#include <cstdint>
#include <string>
#include <vector>

#include "workbench/panel/Raster.h"

namespace workbench::panel {

enum class DrawKind { Line, FilledBox };

struct DrawCall {
    DrawKind kind;
    // As passed, without the area: line: colour word, x1, y1, x2, y2;
    // filled box: red, green, blue, x, y, width, height.
    std::vector<std::int32_t> arguments;
    bool painted;  // false for a line whose colour word lacks the 0x01 RGB marker

    friend bool operator==(const DrawCall&, const DrawCall&) = default;
};

// "line(0x01C8C8C8, 40, 59, 34, 58)", "filledBox(240, 240, 240, 0, 0, 100, 100)".
std::string Describe(const DrawCall& call);

class DrawingSurface {
public:
    explicit DrawingSurface(Raster& raster) : raster_(raster) {}

    // A colour word is 0x01RRGGBB; other top bytes name no colour the
    // workbench knows, and such lines are recorded but not painted.
    void line(std::int32_t colour, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    // Components outside 0..255 are clamped.
    void filledBox(std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t x, std::int32_t y,
                   std::int32_t width, std::int32_t height);

    const Raster& raster() const { return raster_; }
    const std::vector<DrawCall>& calls() const { return calls_; }

private:
    Raster& raster_;
    std::vector<DrawCall> calls_;
};

}  // namespace workbench::panel
