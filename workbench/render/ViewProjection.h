#pragma once
// World points through the module's preview matrix onto the picture. The
// matrix takes camera-space points as row vectors, in the frame whose x is
// the camera's right, y its up and z its backward axis (the camera looks
// down −z), and gives clip coordinates whose divided x and y are film
// points in metres; the near plane is where z_clip = −w_clip.

#include <optional>
#include <utility>

#include "workbench/Rotation.h"
#include "workbench/Scene.h"
#include "workbench/render/Film.h"

namespace workbench::render {

class ViewProjection {
public:
    ViewProjection(const Vector3& position, const Axes& axes, const double (&matrix)[4][4], const Film& film,
                   const Resolution& resolution);

    // The camera-space point of a world point.
    Vector3 cameraSpace(const Vector3& world) const;
    // The pixel a world point projects to; none when it lies nearer than the
    // near plane or behind the camera.
    std::optional<PixelPoint> project(const Vector3& world) const;
    // The part of the segment beyond the near plane, on the picture; none
    // when nothing of it is.
    std::optional<std::pair<PixelPoint, PixelPoint>> project(const Vector3& from, const Vector3& to) const;

private:
    struct Clip {
        double x, y, z, w;
    };
    Clip clip(const Vector3& world) const;
    PixelPoint pixel(const Clip& point) const;

    Vector3 position_;
    Axes axes_;
    double matrix_[4][4];
    Film film_;
    Resolution resolution_;
};

}  // namespace workbench::render
