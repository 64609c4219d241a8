#pragma once
// Counts every heap allocation in the process: malloc and its relatives and
// the global operator new are replaced in the benchmark program. The module
// file's own heap seam calls calloc, which resolves to the replacement here,
// so the count also sees what the module allocates, told apart by the
// caller's address.

#include <cstdint>

namespace bench {

struct AllocationTally {
    std::uint64_t all;         // every allocation in the process
    std::uint64_t fromModule;  // those made from inside the watched module file
};

AllocationTally Allocations();

// From now on, allocations called from the loaded file that holds `address`
// (any function of the module) also count as the module's.
void WatchModuleFile(const void* address);

}  // namespace bench
