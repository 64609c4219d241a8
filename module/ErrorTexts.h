#pragma once
// The only failure texts the module hands to the host.

namespace tarvelin {

inline constexpr const char* kInstanceAllocationError = "Couldn't allocate instance data.";
inline constexpr const char* kMemoryError = "Can't allocate Memory";

}  // namespace tarvelin
