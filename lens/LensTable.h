#pragma once
// The module's one table of lens samples across the current frame's shutter
// interval. The latest per-frame set-up, whichever camera it was for, decides
// the rays of every camera. Rays only read it; the set-up must not overlap
// any ray evaluation.

#include <cstdint>

#include "lens/LensSample.h"

namespace tarvelin {

struct LensSampleTable {
    std::uint32_t intervalCount;  // N: the table holds N + 1 samples, sample i at fraction i / N
    double startTime;             // seconds
    double duration;              // seconds
    LensSample* samples;          // one heap block, or null
};

extern LensSampleTable LensTable;

// The sample that stands for `fraction` of the shutter interval: fractions from
// i / N up to (i + 1) / N select sample i, and 1 the last. Anything outside
// 0..1 is held to the nearest end, and not-a-number selects the first sample,
// so no fraction reaches outside the table.
inline const LensSample& SampleAtFraction(const LensSampleTable& table, double fraction) {
    const double position = static_cast<double>(table.intervalCount) * fraction;
    std::uint32_t index = 0;
    if (position >= static_cast<double>(table.intervalCount)) {
        index = table.intervalCount;
    } else if (position > 0.0) {
        index = static_cast<std::uint32_t>(position);
    }
    return table.samples[index];
}

}  // namespace tarvelin
