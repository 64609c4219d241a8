#pragma once
// Pixels and film points: film points are metres from the film's centre,
// x to the camera's right and y up; pixels count from the top left, and
// pixel (i, j) covers [i, i + 1) × [j, j + 1).

#include "workbench/Scene.h"

namespace workbench::render {

struct FilmPoint {
    double x;
    double y;
};

struct PixelPoint {
    double x;
    double y;
};

inline FilmPoint FilmFromPixel(const Film& film, const Resolution& resolution, PixelPoint pixel) {
    return {(pixel.x / resolution.width - 0.5) * film.width, (0.5 - pixel.y / resolution.height) * film.height};
}

inline PixelPoint PixelFromFilm(const Film& film, const Resolution& resolution, FilmPoint point) {
    return {(point.x / film.width + 0.5) * resolution.width, (0.5 - point.y / film.height) * resolution.height};
}

}  // namespace workbench::render
