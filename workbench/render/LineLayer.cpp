#include "workbench/render/LineLayer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace workbench::render {

LineLayer::LineLayer(int width, int height)
    : width_(width),
      height_(height),
      coverage_(static_cast<std::size_t>(width) * height, 0.0),
      colour_(static_cast<std::size_t>(width) * height, Colour{}) {}

void LineLayer::plot(int x, int y, double coverage, const Colour& colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || !(coverage > 0.0)) return;
    const std::size_t at = static_cast<std::size_t>(y) * width_ + x;
    if (coverage > coverage_[at]) {
        coverage_[at] = std::min(coverage, 1.0);
        colour_[at] = colour;
    }
}

void LineLayer::drawLine(PixelPoint from, PixelPoint to, const Colour& colour) {
    // Xiaolin Wu's method: step one pixel at a time along the major axis and
    // share each step between the two pixels it passes between.
    double x0 = from.x - 0.5, y0 = from.y - 0.5;  // in pixel-centre units
    double x1 = to.x - 0.5, y1 = to.y - 0.5;
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const double dx = x1 - x0;
    const double gradient = dx > 0.0 ? (y1 - y0) / dx : 0.0;
    const auto put = [&](int major, int minor, double coverage) {
        if (steep) {
            plot(minor, major, coverage, colour);
        } else {
            plot(major, minor, coverage, colour);
        }
    };
    const int first = static_cast<int>(std::round(x0));
    const int last = static_cast<int>(std::round(x1));
    for (int major = first; major <= last; ++major) {
        // The part of this pixel column the segment spans.
        const double span = std::min(major + 0.5, x1) - std::max(major - 0.5, x0);
        const double weight = dx > 0.0 ? std::clamp(span, 0.0, 1.0) : 1.0;
        const double y = y0 + gradient * (std::clamp(static_cast<double>(major), x0, x1) - x0);
        const double below = std::floor(y);
        const double fraction = y - below;
        put(major, static_cast<int>(below), weight * (1.0 - fraction));
        put(major, static_cast<int>(below) + 1, weight * fraction);
    }
}

void LineLayer::addOver(const Colour& background, std::vector<Colour>& sum) const {
    for (std::size_t at = 0; at < coverage_.size(); ++at) {
        const double a = coverage_[at];
        for (std::size_t c = 0; c < 3; ++c) sum[at][c] += a * colour_[at][c] + (1.0 - a) * background[c];
    }
}

}  // namespace workbench::render
