#pragma once
// The module's heap blocks. Everything the module allocates goes through
// these two functions, so tests can make an allocation fail.

#include <cstddef>

namespace tarvelin {

// A zero-filled block of count × size bytes, or null when it cannot be had
// (including when the size overflows).
void* AllocateZeroed(std::size_t count, std::size_t size);
void Release(void* block);

}  // namespace tarvelin
