#include "tests/support/ControlledMemory.h"

#include <cstdlib>

#include "module/Memory.h"

namespace testhost {

namespace {
int failuresLeft = 0;
int liveBlocks = 0;
int requests = 0;
}  // namespace

void FailNextAllocations(int count) { failuresLeft = count; }

int LiveModuleBlocks() { return liveBlocks; }

int AllocationRequests() { return requests; }

}  // namespace testhost

namespace tarvelin {

void* AllocateZeroed(std::size_t count, std::size_t size) {
    ++testhost::requests;
    if (testhost::failuresLeft > 0) {
        --testhost::failuresLeft;
        return nullptr;
    }
    void* block = std::calloc(count, size);
    if (block != nullptr) ++testhost::liveBlocks;
    return block;
}

void Release(void* block) {
    if (block != nullptr) --testhost::liveBlocks;
    std::free(block);
}

}  // namespace tarvelin
