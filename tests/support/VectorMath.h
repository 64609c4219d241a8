#pragma once
// Plain vector arithmetic for checking the lens geometry independently of the
// module's own code, and printing for failure messages.

#include <cmath>
#include <ostream>

#include "lens/Matrix.h"

namespace tarvelin {
inline std::ostream& operator<<(std::ostream& out, const Vector3d& v) {
    return out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
}  // namespace tarvelin

namespace testhost {

using tarvelin::Vector3d;

inline Vector3d Add(Vector3d a, Vector3d b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3d Sub(Vector3d a, Vector3d b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3d Scale(Vector3d a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline double Dot(Vector3d a, Vector3d b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double Length(Vector3d a) { return std::sqrt(Dot(a, a)); }
inline Vector3d Cross(Vector3d a, Vector3d b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline Vector3d FromArray(const double v[3]) { return {v[0], v[1], v[2]}; }

// The distance from `point` to the line through `origin` along unit `direction`.
inline double DistanceFromRay(Vector3d point, Vector3d origin, Vector3d direction) {
    return Length(Cross(Sub(point, origin), direction));
}

}  // namespace testhost
