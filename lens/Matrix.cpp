#include "lens/Matrix.h"

#include <cmath>

namespace tarvelin {

void MultiplyMatrix4d(const Matrix4d& a, const Matrix4d& b, Matrix4d& out) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            out(i, j) = ((b(i, 0) * a(0, j) + b(i, 1) * a(1, j)) + b(i, 2) * a(2, j)) + b(i, 3) * a(3, j);
        }
    }
}

void RotationZ(Matrix4d& out, double angle) {
    const double cosA = std::cos(angle);
    const double sinA = std::sin(angle);
    out = Matrix4d{{
        cosA, sinA, 0.0, 0.0,
        -sinA, cosA, 0.0, 0.0,
        0.0, 0.0, 1.0, 0.0,
        0.0, 0.0, 0.0, 1.0,
    }};
}

void RotationAboutAxis(Matrix4d& out, const Vector3d& axis, double angle) {
    const double length = std::sqrt((axis.y * axis.y + axis.x * axis.x) + axis.z * axis.z);
    const double ax = axis.x / length;
    const double ay = axis.y / length;
    const double az = axis.z / length;
    const double cosA = std::cos(angle);
    const double sinA = std::sin(angle);
    const double t = 1.0 - cosA;
    out = Matrix4d{{
        cosA + (ax * ax) * t, (ax * ay) * t + sinA * az, (az * ax) * t - sinA * ay, 0.0,
        (ax * ay) * t - sinA * az, (ay * ay) * t + cosA, (ay * az) * t + sinA * ax, 0.0,
        (az * ax) * t + sinA * ay, (ay * az) * t - sinA * ax, (az * az) * t + cosA, 0.0,
        0.0, 0.0, 0.0, 1.0,
    }};
}

Vector3d TransformPoint(const Vector3d& p, const Matrix4d& m) {
    return Vector3d{
        ((p.x * m(0, 0) + p.y * m(1, 0)) + p.z * m(2, 0)) + m(3, 0),
        ((p.x * m(0, 1) + p.y * m(1, 1)) + p.z * m(2, 1)) + m(3, 1),
        ((p.x * m(0, 2) + p.y * m(1, 2)) + p.z * m(2, 2)) + m(3, 2),
    };
}

}  // namespace tarvelin
