#pragma once
// Item orientation in the host's convention: a left-handed frame with +Y up;
// an item with no rotation looks along +Z with its right along +X. Heading
// turns about Y (positive swings the forward axis toward +X), pitch about the
// item's X (positive tips the forward axis down), bank about the item's Z
// (positive lifts the right axis toward +Y). The three apply in the order
// bank, pitch, heading.

#include <array>

namespace workbench {

using Vector3 = std::array<double, 3>;

struct Axes {
    Vector3 right;
    Vector3 up;
    Vector3 forward;
};

// Angles in radians.
Axes AxesFromRotation(double heading, double pitch, double bank);

}  // namespace workbench
