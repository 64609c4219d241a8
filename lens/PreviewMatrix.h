#pragma once
// The interactive view's projection of the tilt/shift lens: the tilt rotation
// followed by a viewing frustum whose near distance is the focal length times
// the cosine of the tilt angle and whose far distance is kPreviewFar. The lens
// point moves the eye; a matching shear keeps points at the focus distance
// (along the tilted axis) in place.

#include "lens/LensState.h"
#include "lens/Matrix.h"

namespace tarvelin {

inline constexpr double kPreviewFar = 65000.0;

// The matrix for the lens point (lensX, lensY), in units of the film width.
Matrix4d MakePreviewMatrix(const LensState& lens, double lensX, double lensY);

}  // namespace tarvelin
