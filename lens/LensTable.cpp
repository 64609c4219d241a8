#include "lens/LensTable.h"

namespace tarvelin {

// No table until the first frame is set up.
LensSampleTable LensTable = {0, 0.0, 0.0, nullptr};

}  // namespace tarvelin
