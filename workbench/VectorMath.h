#pragma once
// Arithmetic on the workbench's three-component vectors.

#include <cmath>

#include "workbench/Rotation.h"

namespace workbench {

inline Vector3 Minus(const Vector3& a, const Vector3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline double Dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline double Length(const Vector3& a) { return std::sqrt(Dot(a, a)); }
inline Vector3 Scaled(const Vector3& a, double factor) { return {a[0] * factor, a[1] * factor, a[2] * factor}; }
inline Vector3 Unit(const Vector3& a) { return Scaled(a, 1.0 / Length(a)); }

}  // namespace workbench
