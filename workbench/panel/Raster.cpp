#include "workbench/panel/Raster.h"

#include <algorithm>
#include <fmt/format.h>
#include <stdexcept>

namespace workbench::panel {

namespace {

// Products of two 32-bit spans, and sums of 64-bit coordinates, need more than 64 bits.
__extension__ using Wide = unsigned __int128;
__extension__ using SignedWide = __int128;

}  // namespace

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << fmt::format("({}, {}, {})", colour.red, colour.green, colour.blue);
}

Raster::Raster(int width, int height, Rgb background) : width_(width), height_(height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        throw std::invalid_argument(fmt::format("raster size {}x{} is outside 1..{}", width, height, kMaxSide));
    }
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background);
}

Rgb Raster::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        throw std::out_of_range(fmt::format("pixel ({}, {}) is outside the {}x{} raster", x, y, width_, height_));
    }
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void Raster::put(std::int64_t x, std::int64_t y, Rgb colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = colour;
}

void Raster::fillBox(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, Rgb colour) {
    if (width <= 0 || height <= 0) return;
    const auto left = static_cast<std::int64_t>(std::max<SignedWide>(x, 0));
    const auto right = static_cast<std::int64_t>(std::min<SignedWide>(SignedWide(x) + width, width_));
    const auto top = static_cast<std::int64_t>(std::max<SignedWide>(y, 0));
    const auto bottom = static_cast<std::int64_t>(std::min<SignedWide>(SignedWide(y) + height, height_));
    for (std::int64_t row = top; row < bottom; ++row) {
        for (std::int64_t column = left; column < right; ++column) put(column, row, colour);
    }
}

void Raster::drawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, Rgb colour) {
    const std::int64_t dx = std::int64_t{x2} - x1;
    const std::int64_t dy = std::int64_t{y2} - y1;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);

    // Major axis: the one stepped by one pixel; minor: the one that follows.
    const std::int64_t majorStart = xMajor ? x1 : y1;
    const std::int64_t minorStart = xMajor ? y1 : x1;
    const std::int64_t majorDelta = xMajor ? dx : dy;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t majorSize = xMajor ? width_ : height_;
    const std::int64_t steps = majorDelta < 0 ? -majorDelta : majorDelta;
    const std::int64_t minorSpan = minorDelta < 0 ? -minorDelta : minorDelta;
    const std::int64_t majorSign = majorDelta < 0 ? -1 : 1;
    const std::int64_t minorSign = minorDelta < 0 ? -1 : 1;

    // Only the steps whose major coordinate lies in the picture are walked.
    std::int64_t first = 0;
    std::int64_t last = steps;
    if (majorSign > 0) {
        first = std::max(first, -majorStart);
        last = std::min(last, majorSize - 1 - majorStart);
    } else {
        first = std::max(first, majorStart - (majorSize - 1));
        last = std::min(last, majorStart);
    }
    for (std::int64_t step = first; step <= last; ++step) {
        std::int64_t minorOffset = 0;
        if (steps > 0) {
            const Wide numerator = Wide(2) * Wide(static_cast<std::uint64_t>(step)) *
                                       Wide(static_cast<std::uint64_t>(minorSpan)) +
                                   Wide(static_cast<std::uint64_t>(steps));
            minorOffset = static_cast<std::int64_t>(numerator / (Wide(2) * Wide(static_cast<std::uint64_t>(steps))));
        }
        const std::int64_t major = majorStart + majorSign * step;
        const std::int64_t minor = minorStart + minorSign * minorOffset;
        if (xMajor) {
            put(major, minor, colour);
        } else {
            put(minor, major, colour);
        }
    }
}

void Raster::writePpm(std::ostream& out) const {
    out << "P6\n" << width_ << ' ' << height_ << "\n255\n";
    for (const Rgb& colour : pixels_) {
        out.put(static_cast<char>(colour.red)).put(static_cast<char>(colour.green)).put(static_cast<char>(colour.blue));
    }
}

}  // namespace workbench::panel
