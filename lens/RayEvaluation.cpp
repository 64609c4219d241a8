#include "lens/LensOperations.h"
#include "lens/LensTable.h"

namespace tarvelin {

int EvaluateRay(void* /*instance*/, double filmX, double filmY, double lensX, double lensY, double fraction,
                host::CameraRay* ray) {
    if (LensTable.samples == nullptr) return 0;
    const LensSample& sample = SampleAtFraction(LensTable, fraction);
    const LensRay lensRay = TraceLensSample(sample, filmX, filmY, lensX, lensY);
    ray->origin[0] = lensRay.origin.x;
    ray->origin[1] = lensRay.origin.y;
    ray->origin[2] = lensRay.origin.z;
    ray->direction[0] = lensRay.direction.x;
    ray->direction[1] = lensRay.direction.y;
    ray->direction[2] = lensRay.direction.z;
    ray->forwardAxis[0] = sample.forwardAxis.x;
    ray->forwardAxis[1] = sample.forwardAxis.y;
    ray->forwardAxis[2] = sample.forwardAxis.z;
    return 1;
}

}  // namespace tarvelin
