#include "workbench/render/PixelSampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace workbench::render {

namespace {

// A random order of 0 … count − 1 (Fisher–Yates).
void Shuffle(std::vector<int>& order, int count, PixelRandom& random) {
    order.resize(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    for (int i = count - 1; i > 0; --i) {
        const int j = static_cast<int>(random.next() % static_cast<std::uint64_t>(i + 1));
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]);
    }
}

}  // namespace

PixelRandom::PixelRandom(std::uint64_t x, std::uint64_t y, std::uint64_t frame)
    : state_((x * 0x9E3779B97F4A7C15ull) ^ (y * 0xC2B2AE3D27D4EB4Full) ^ (frame * 0x165667B19E3779F9ull)) {
    next();
}

std::uint64_t PixelRandom::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double PixelRandom::uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

void SquareToDisc(double u, double v, double& x, double& y) {
    const double a = 2.0 * u - 1.0;
    const double b = 2.0 * v - 1.0;
    if (a == 0.0 && b == 0.0) {
        x = y = 0.0;
        return;
    }
    double radius;
    double angle;
    if (std::abs(a) > std::abs(b)) {
        radius = a;
        angle = (std::numbers::pi / 4.0) * (b / a);
    } else {
        radius = b;
        angle = std::numbers::pi / 2.0 - (std::numbers::pi / 4.0) * (a / b);
    }
    x = radius * std::cos(angle);
    y = radius * std::sin(angle);
}

void SamplePixel(int x, int y, int frame, int count, std::vector<CameraSample>& samples) {
    PixelRandom random(static_cast<std::uint64_t>(x), static_cast<std::uint64_t>(y),
                       static_cast<std::uint64_t>(static_cast<std::int64_t>(frame)));
    samples.resize(static_cast<std::size_t>(count));
    const double n = count;
    // One stratum per sample in each of five dimensions; shuffling four of
    // them decorrelates the pairs from each other.
    std::vector<int> filmColumns, lensRows, lensColumns, shutterSlots;
    Shuffle(filmColumns, count, random);
    Shuffle(lensRows, count, random);
    Shuffle(lensColumns, count, random);
    Shuffle(shutterSlots, count, random);
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        CameraSample& sample = samples[at];
        sample.pixelY = (i + random.uniform()) / n;
        sample.pixelX = (filmColumns[at] + random.uniform()) / n;
        SquareToDisc((lensColumns[at] + random.uniform()) / n, (lensRows[at] + random.uniform()) / n, sample.lensX,
                     sample.lensY);
        sample.shutter = (shutterSlots[at] + random.uniform()) / n;
    }
}

}  // namespace workbench::render
