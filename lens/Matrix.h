#pragma once
// 4×4 homogeneous matrices of doubles for row vectors: p' = p·M, with the
// translation in row 3. The host's preview matrix has the same layout.
//
// Each operation writes into storage the caller provides and keeps no state.
// The arithmetic order is fixed, so that every build computes the same
// doubles.

#include <cfloat>

// Doubles are evaluated as doubles (SSE2 on 32-bit x86), never in the x87's
// wider registers, whose rounding would change the rays from build to build.
static_assert(FLT_EVAL_METHOD == 0, "lens arithmetic needs SSE2 doubles: build with -msse2 -mfpmath=sse");

namespace tarvelin {

struct Vector3d {
    double x;
    double y;
    double z;
};

struct Matrix4d {
    double element[16];  // row by row: (row, column) is at 4·row + column

    double& operator()(int row, int column) { return element[4 * row + column]; }
    double operator()(int row, int column) const { return element[4 * row + column]; }
};

// out = b·a: transforming by out is transforming by b, then by a. `out` must
// not share storage with `a` or `b`.
void MultiplyMatrix4d(const Matrix4d& a, const Matrix4d& b, Matrix4d& out);

// The rotation by `angle` radians about Z; a positive angle turns +X toward +Y.
void RotationZ(Matrix4d& out, double angle);

// The rotation by `angle` radians about `axis` through the origin (right-hand
// rule). The axis is normalised here and must not be the zero vector.
void RotationAboutAxis(Matrix4d& out, const Vector3d& axis, double angle);

// The first three components of (p, 1)·m; nothing is divided.
Vector3d TransformPoint(const Vector3d& p, const Matrix4d& m);

}  // namespace tarvelin
