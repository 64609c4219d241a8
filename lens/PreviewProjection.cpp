#include "instance/TiltShiftInstance.h"
#include "lens/LensOperations.h"
#include "lens/PreviewMatrix.h"
#include "module/HostServices.h"

namespace tarvelin {

int PreviewProjection(void* instance, double lensX, double lensY, double out[4][4],
                      const host::CameraAccess* camera) {
    // The view follows the host's current time, not a frame.
    const double time = CurrentTime();
    const LensState lens = ReadLensState(static_cast<TiltShiftInstance*>(instance), camera, time);
    const Matrix4d projection = MakePreviewMatrix(lens, lensX, lensY);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) out[row][column] = projection(row, column);
    }
    return 1;
}

}  // namespace tarvelin
