#pragma once
// Antialiased lines drawn into a layer of colour and coverage, to be laid
// over a background.

#include <vector>

#include "workbench/Scene.h"
#include "workbench/render/Film.h"

namespace workbench::render {

class LineLayer {
public:
    LineLayer(int width, int height);

    // A one-pixel line between two pixel points (pixel centres at +0.5);
    // where lines cross, the better-covering one wins the pixel.
    void drawLine(PixelPoint from, PixelPoint to, const Colour& colour);

    // Adds this layer laid over `background` to `sum`, pixel by pixel.
    void addOver(const Colour& background, std::vector<Colour>& sum) const;

private:
    void plot(int x, int y, double coverage, const Colour& colour);

    int width_;
    int height_;
    std::vector<double> coverage_;
    std::vector<Colour> colour_;
};

}  // namespace workbench::render
