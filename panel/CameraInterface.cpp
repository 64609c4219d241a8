#include "panel/CameraInterface.h"

namespace tarvelin {

// The settings panel is not built yet: answering "wrong version" for every
// version makes the host go on without a panel instead of using a half one.
int ActivateCameraInterface(int /*version*/, host::GlobalLookup /*lookup*/, void* /*interfaceRecord*/,
                            void* /*serverData*/) {
    return host::kBadVersion;
}

}  // namespace tarvelin
