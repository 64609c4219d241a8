#pragma once
// Where a camera instance's rays come sharp, found from its rays alone: the
// rays of one film point from every lens point meet on the plane of sharp
// focus, and film points lie on that plane linearly.

#include <gtest/gtest.h>

#include "tests/support/VectorMath.h"
#include "workbench/CameraHandler.h"

namespace testhost {

struct FilmPoint {
    double x;
    double y;
};

// The point where two rays pass closest to each other, halfway between them.
inline Vector3d Meeting(const host::CameraRay& a, const host::CameraRay& b) {
    const Vector3d oa = FromArray(a.origin), da = FromArray(a.direction);
    const Vector3d ob = FromArray(b.origin), db = FromArray(b.direction);
    const Vector3d w = Sub(oa, ob);
    const double ab = Dot(da, db), aw = Dot(da, w), bw = Dot(db, w);
    // 1 - ab², without the cancellation of nearly parallel rays.
    const double sineSquared = Dot(Cross(da, db), Cross(da, db));
    const double s = (ab * bw - aw) / sineSquared;
    const double t = (bw - ab * aw) / sineSquared;
    return Scale(Add(Add(oa, Scale(da, s)), Add(ob, Scale(db, t))), 0.5);
}

// The ray at the start of the shutter, after the frame's set-up.
inline host::CameraRay RayOf(const workbench::CameraInstance& camera, FilmPoint film, double lensX, double lensY) {
    host::CameraRay ray{};
    EXPECT_TRUE(camera.evaluateRay(film.x, film.y, lensX, lensY, 0.0, ray));
    return ray;
}

// Where the rays of a film point meet: those from opposite edges of the lens.
inline Vector3d SharpPoint(const workbench::CameraInstance& camera, FilmPoint film) {
    return Meeting(RayOf(camera, film, -1.0, 0.0), RayOf(camera, film, 1.0, 0.0));
}

// The film point whose sharp point lies nearest `point`: three sharp points
// fix the linear map, and two more rounds from the answer take out the
// rounding that reaching far from the film's centre magnifies.
inline FilmPoint FilmPointOf(const workbench::CameraInstance& camera, const Vector3d& point) {
    constexpr double kStep = 1e-3;
    FilmPoint film{0.0, 0.0};
    for (int round = 0; round < 3; ++round) {
        const Vector3d origin = SharpPoint(camera, film);
        const Vector3d alongX = Sub(SharpPoint(camera, {film.x + kStep, film.y}), origin);
        const Vector3d alongY = Sub(SharpPoint(camera, {film.x, film.y + kStep}), origin);
        const Vector3d offset = Sub(point, origin);
        const double xx = Dot(alongX, alongX), xy = Dot(alongX, alongY), yy = Dot(alongY, alongY);
        const double ox = Dot(alongX, offset), oy = Dot(alongY, offset);
        const double determinant = xx * yy - xy * xy;
        film.x += kStep * (yy * ox - xy * oy) / determinant;
        film.y += kStep * (xx * oy - xy * ox) / determinant;
    }
    return film;
}

// Lens points over the whole unit disc: its centre, rims and inside.
inline constexpr double kLensPoints[][2] = {{0.0, 0.0},  {1.0, 0.0},       {-1.0, 0.0}, {0.0, 1.0},
                                            {0.0, -1.0}, {0.7071, 0.7071}, {-0.6, 0.8}, {0.3, -0.4},
                                            {-0.25, 0.1}, {0.9, -0.3}};

// Every lens point's ray of the point's film point passes through the point,
// to within a billionth of its distance from the lens.
inline void ExpectSharp(const workbench::CameraInstance& camera, const Vector3d& point) {
    const FilmPoint film = FilmPointOf(camera, point);
    for (const auto& lens : kLensPoints) {
        const host::CameraRay ray = RayOf(camera, film, lens[0], lens[1]);
        const Vector3d origin = FromArray(ray.origin);
        EXPECT_LE(DistanceFromRay(point, origin, FromArray(ray.direction)), 1e-9 * Length(Sub(point, origin)))
            << point << " from film (" << film.x << ", " << film.y << ") and lens (" << lens[0] << ", " << lens[1]
            << ")";
    }
}

}  // namespace testhost
