#pragma once
// Where a pixel's samples fall on the film, the lens and the shutter.
// Each pixel draws from its own random sequence, seeded from its place and
// the frame, so a picture is the same however the work is split.

#include <cstdint>
#include <vector>

namespace workbench::render {

// One sample of a pixel.
struct CameraSample {
    double pixelX;  // offset within the pixel, 0 to 1, to the right
    double pixelY;  // offset within the pixel, 0 to 1, downwards
    double lensX;   // on the unit disc
    double lensY;
    double shutter;  // fraction of the shutter interval, 0 to 1
};

// A small generator (SplitMix64): fast, and good enough for jitter.
class PixelRandom {
public:
    PixelRandom(std::uint64_t x, std::uint64_t y, std::uint64_t frame);
    std::uint64_t next();
    double uniform();  // in [0, 1)

private:
    std::uint64_t state_;
};

// Maps the unit square uniformly onto the unit disc, keeping strata compact
// (Shirley and Chiu's concentric map).
void SquareToDisc(double u, double v, double& x, double& y);

// Fills `samples` with `count` samples for the pixel: each dimension pair
// is Latin-hypercube stratified (one sample per row and per column of a
// count × count grid), the shutter stratified into `count` intervals, and
// the strata of different dimensions shuffled against one another.
void SamplePixel(int x, int y, int frame, int count, std::vector<CameraSample>& samples);

}  // namespace workbench::render
