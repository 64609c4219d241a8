#include "workbench/render/ViewProjection.h"

#include <algorithm>

#include "workbench/VectorMath.h"

namespace workbench::render {

namespace {

// Points this close to the eye plane (w) are dropped even where the near
// plane, as a tilted lens may put it, would let them through.
constexpr double kSmallestW = 1e-9;

// Liang–Barsky: narrows [t0, t1] to where p·t ≤ q holds.
bool ClipTo(double p, double q, double& t0, double& t1) {
    if (p == 0.0) return q >= 0.0;
    const double t = q / p;
    if (p < 0.0) {
        if (t > t1) return false;
        t0 = std::max(t0, t);
    } else {
        if (t < t0) return false;
        t1 = std::min(t1, t);
    }
    return true;
}

}  // namespace

ViewProjection::ViewProjection(const Vector3& position, const Axes& axes, const double (&matrix)[4][4],
                               const Film& film, const Resolution& resolution)
    : position_(position), axes_(axes), film_(film), resolution_(resolution) {
    std::copy(&matrix[0][0], &matrix[0][0] + 16, &matrix_[0][0]);
}

Vector3 ViewProjection::cameraSpace(const Vector3& world) const {
    const Vector3 offset{world[0] - position_[0], world[1] - position_[1], world[2] - position_[2]};
    return {Dot(offset, axes_.right), Dot(offset, axes_.up), -Dot(offset, axes_.forward)};
}

ViewProjection::Clip ViewProjection::clip(const Vector3& world) const {
    const Vector3 p = cameraSpace(world);
    double c[4];
    for (int column = 0; column < 4; ++column) {
        c[column] = p[0] * matrix_[0][column] + p[1] * matrix_[1][column] + p[2] * matrix_[2][column] +
                    matrix_[3][column];
    }
    return {c[0], c[1], c[2], c[3]};
}

PixelPoint ViewProjection::pixel(const Clip& point) const {
    return PixelFromFilm(film_, resolution_, {point.x / point.w, point.y / point.w});
}

std::optional<PixelPoint> ViewProjection::project(const Vector3& world) const {
    const Clip c = clip(world);
    if (c.z + c.w < 0.0 || c.w < kSmallestW) return std::nullopt;
    return pixel(c);
}

std::optional<std::pair<PixelPoint, PixelPoint>> ViewProjection::project(const Vector3& from,
                                                                         const Vector3& to) const {
    // Clip coordinates are affine along the segment, so the near plane
    // (z + w ≥ 0) and the eye plane (w ≥ kSmallestW) clip it by parameter.
    const Clip a = clip(from);
    const Clip b = clip(to);
    double t0 = 0.0;
    double t1 = 1.0;
    if (!ClipTo(-((b.z + b.w) - (a.z + a.w)), a.z + a.w, t0, t1)) return std::nullopt;
    if (!ClipTo(-(b.w - a.w), a.w - kSmallestW, t0, t1)) return std::nullopt;
    if (t0 > t1) return std::nullopt;
    const auto at = [&](double t) {
        return Clip{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z), a.w + t * (b.w - a.w)};
    };
    PixelPoint p0 = pixel(at(t0));
    PixelPoint p1 = pixel(at(t1));

    // Keep to a margin around the picture, so a segment that passes close
    // to the eye does not become miles of pixels off screen.
    const double margin = 2.0;
    const double dx = p1.x - p0.x;
    const double dy = p1.y - p0.y;
    double s0 = 0.0;
    double s1 = 1.0;
    if (!ClipTo(-dx, p0.x + margin, s0, s1) || !ClipTo(dx, resolution_.width + margin - p0.x, s0, s1) ||
        !ClipTo(-dy, p0.y + margin, s0, s1) || !ClipTo(dy, resolution_.height + margin - p0.y, s0, s1) || s0 > s1) {
        return std::nullopt;
    }
    return std::pair{PixelPoint{p0.x + s0 * dx, p0.y + s0 * dy}, PixelPoint{p0.x + s1 * dx, p0.y + s1 * dy}};
}

}  // namespace workbench::render
