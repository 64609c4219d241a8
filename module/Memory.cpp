#include "module/Memory.h"

#include <cstdlib>

namespace tarvelin {

void* AllocateZeroed(std::size_t count, std::size_t size) { return std::calloc(count, size); }

void Release(void* block) { std::free(block); }

}  // namespace tarvelin
