#include "workbench/Rotation.h"

#include <cmath>

namespace workbench {

namespace {

// Row-vector 3×3 rotations (p' = p · M), each turning by the left-hand rule.
using Matrix3 = std::array<Vector3, 3>;

Matrix3 AboutX(double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {{{1, 0, 0}, {0, c, s}, {0, -s, c}}};
}

Matrix3 AboutY(double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {{{c, 0, -s}, {0, 1, 0}, {s, 0, c}}};
}

Matrix3 AboutZ(double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {{{c, s, 0}, {-s, c, 0}, {0, 0, 1}}};
}

Vector3 Times(const Vector3& v, const Matrix3& m) {
    Vector3 out{};
    for (int column = 0; column < 3; ++column) {
        out[column] = v[0] * m[0][column] + v[1] * m[1][column] + v[2] * m[2][column];
    }
    return out;
}

Vector3 Rotate(const Vector3& local, double heading, double pitch, double bank) {
    return Times(Times(Times(local, AboutZ(bank)), AboutX(pitch)), AboutY(heading));
}

}  // namespace

Axes AxesFromRotation(double heading, double pitch, double bank) {
    return {Rotate({1, 0, 0}, heading, pitch, bank), Rotate({0, 1, 0}, heading, pitch, bank),
            Rotate({0, 0, 1}, heading, pitch, bank)};
}

}  // namespace workbench
