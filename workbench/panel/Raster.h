#pragma once
// An RGB picture that a control's drawing callback paints into. Every write
// is clipped to the picture, whatever the coordinates.

#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

namespace workbench::panel {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& colour);

class Raster {
public:
    static constexpr int kMaxSide = 16384;

    // Throws std::invalid_argument unless both sides are in 1..kMaxSide.
    Raster(int width, int height, Rgb background = {});

    int width() const { return width_; }
    int height() const { return height_; }
    std::span<const Rgb> pixels() const { return pixels_; }
    // Throws std::out_of_range outside the picture.
    Rgb pixel(int x, int y) const;

    // The box's left column is x and its top row is y; empty when a side is 0 or less.
    void fillBox(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, Rgb colour);
    // Both end points included. Each step along the longer axis paints the
    // pixel nearest the ideal line, a half rounded away from (x1, y1), so a
    // clipped line paints exactly the pixels the whole line has in the picture.
    void drawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, Rgb colour);

    // Binary PPM (P6), for looking at a drawing.
    void writePpm(std::ostream& out) const;

private:
    void put(std::int64_t x, std::int64_t y, Rgb colour);

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

}  // namespace workbench::panel
