#pragma once
// The test build's heap for the module: it can be told to fail, and it counts
// the blocks the module holds.

namespace testhost {

// The next `count` allocations by the module fail.
void FailNextAllocations(int count);
// Blocks the module has allocated and not yet released.
int LiveModuleBlocks();
// Allocations the module has asked for so far, failed ones included.
int AllocationRequests();

}  // namespace testhost
