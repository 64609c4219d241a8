#include "workbench/panel/DrawingSurface.h"

#include <algorithm>
#include <fmt/format.h>

namespace workbench::panel {

namespace {

constexpr std::uint32_t kRgbMarker = 0x01000000;

std::uint8_t Component(std::int32_t value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

}  // namespace

std::string Describe(const DrawCall& call) {
    std::string text = call.kind == DrawKind::Line ? "line(" : "filledBox(";
    for (std::size_t i = 0; i < call.arguments.size(); ++i) {
        if (i > 0) text += ", ";
        if (call.kind == DrawKind::Line && i == 0) {
            text += fmt::format("0x{:08X}", static_cast<std::uint32_t>(call.arguments[i]));
        } else {
            text += std::to_string(call.arguments[i]);
        }
    }
    return text + ")";
}

void DrawingSurface::line(std::int32_t colour, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const auto word = static_cast<std::uint32_t>(colour);
    const bool painted = (word & 0xFF000000u) == kRgbMarker;
    calls_.push_back({DrawKind::Line, {colour, x1, y1, x2, y2}, painted});
    if (!painted) return;
    const Rgb rgb{static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
                  static_cast<std::uint8_t>(word)};
    raster_.drawLine(x1, y1, x2, y2, rgb);
}

void DrawingSurface::filledBox(std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t x,
                               std::int32_t y, std::int32_t width, std::int32_t height) {
    calls_.push_back({DrawKind::FilledBox, {red, green, blue, x, y, width, height}, true});
    raster_.fillBox(x, y, width, height, {Component(red), Component(green), Component(blue)});
}

}  // namespace workbench::panel
