#pragma once
// The only failure texts the module hands to the host. Each is one array, so
// every file hands out the same pointer, in any build.

namespace tarvelin {

inline constexpr char kInstanceAllocationError[] = "Couldn't allocate instance data.";
inline constexpr char kMemoryError[] = "Can't allocate Memory";

}  // namespace tarvelin
