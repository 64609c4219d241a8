#include "lens/LensTable.h"

#include "module/Memory.h"

namespace tarvelin {

// No table until the first frame is set up.
LensSampleTable LensTable = {0, 0.0, 0.0, nullptr};

namespace {

// The last frame's table stays until the next frame, and no module operation
// may release it (shutdown is also handed to the host as a panel callback),
// so it goes when the host unloads the module.
struct ReleaseLensTableAtUnload {
    ~ReleaseLensTableAtUnload() {
        Release(LensTable.samples);
        LensTable.samples = nullptr;
    }
} releaseLensTableAtUnload;

}  // namespace

}  // namespace tarvelin
