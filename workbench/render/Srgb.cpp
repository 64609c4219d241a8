#include <algorithm>
#include <cmath>

#include "workbench/render/Render.h"

namespace workbench::render {

namespace {

// The sRGB transfer curve, linear light in, 0–255 out; values outside 0–1
// (and not-a-number) are clamped.
std::uint8_t EncodeSrgb(double linear) {
    if (!(linear > 0.0)) return 0;
    if (linear >= 1.0) return 255;
    const double encoded = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(std::lround(encoded * 255.0));
}

}  // namespace

std::vector<std::uint8_t> ToSrgb8(const Image& image) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(image.pixels.size() * 3);
    for (const Colour& pixel : image.pixels) {
        for (double channel : pixel) bytes.push_back(EncodeSrgb(channel));
    }
    return bytes;
}

}  // namespace workbench::render
