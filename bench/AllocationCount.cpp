#include "bench/AllocationCount.h"

#include <dlfcn.h>
#include <link.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

// glibc's own allocator, under the names it keeps for replacements like this.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<std::uint64_t> allAllocations{0};
std::atomic<std::uint64_t> moduleAllocations{0};
std::atomic<std::uintptr_t> moduleBegin{0};
std::atomic<std::uintptr_t> moduleEnd{0};

// Inline so that the caller's return address is the allocating code's.
[[gnu::always_inline]] inline void Count(const void* caller) {
    allAllocations.fetch_add(1, std::memory_order_relaxed);
    const auto address = reinterpret_cast<std::uintptr_t>(caller);
    if (address >= moduleBegin.load(std::memory_order_relaxed) && address < moduleEnd.load(std::memory_order_relaxed)) {
        moduleAllocations.fetch_add(1, std::memory_order_relaxed);
    }
}

struct FileSpan {
    std::uintptr_t base;
    std::uintptr_t begin;
    std::uintptr_t end;
};

int FindSpan(dl_phdr_info* info, std::size_t, void* data) {
    auto* span = static_cast<FileSpan*>(data);
    if (info->dlpi_addr != span->base) return 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& header = info->dlpi_phdr[i];
        if (header.p_type != PT_LOAD) continue;
        const std::uintptr_t begin = info->dlpi_addr + header.p_vaddr;
        if (span->begin == 0 || begin < span->begin) span->begin = begin;
        if (begin + header.p_memsz > span->end) span->end = begin + header.p_memsz;
    }
    return 1;
}

}  // namespace

namespace bench {

AllocationTally Allocations() {
    return {allAllocations.load(std::memory_order_relaxed), moduleAllocations.load(std::memory_order_relaxed)};
}

void WatchModuleFile(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0) return;
    FileSpan span{reinterpret_cast<std::uintptr_t>(info.dli_fbase), 0, 0};
    dl_iterate_phdr(FindSpan, &span);
    moduleBegin.store(span.begin, std::memory_order_relaxed);
    moduleEnd.store(span.end, std::memory_order_relaxed);
}

}  // namespace bench

extern "C" {

void* malloc(std::size_t size) noexcept {
    Count(__builtin_return_address(0));
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) noexcept {
    Count(__builtin_return_address(0));
    return __libc_calloc(count, size);
}

void* realloc(void* block, std::size_t size) noexcept {
    Count(__builtin_return_address(0));
    return __libc_realloc(block, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    Count(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}

void* memalign(std::size_t alignment, std::size_t size) noexcept {
    Count(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** block, std::size_t alignment, std::size_t size) noexcept {
    Count(__builtin_return_address(0));
    *block = __libc_memalign(alignment, size);
    return *block == nullptr ? ENOMEM : 0;
}

void free(void* block) noexcept { __libc_free(block); }

}  // extern "C"

// operator new counts once itself and takes the block from glibc directly.
namespace {

void* NewBlock(std::size_t size, const void* caller) {
    Count(caller);
    if (void* block = __libc_malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

void* NewAlignedBlock(std::size_t size, std::align_val_t alignment, const void* caller) {
    Count(caller);
    if (void* block = __libc_memalign(static_cast<std::size_t>(alignment), size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return NewBlock(size, __builtin_return_address(0)); }
void* operator new[](std::size_t size) { return NewBlock(size, __builtin_return_address(0)); }
void* operator new(std::size_t size, std::align_val_t alignment) {
    return NewAlignedBlock(size, alignment, __builtin_return_address(0));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return NewAlignedBlock(size, alignment, __builtin_return_address(0));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    Count(__builtin_return_address(0));
    return __libc_malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    Count(__builtin_return_address(0));
    return __libc_malloc(size == 0 ? 1 : size);
}
void operator delete(void* block) noexcept { __libc_free(block); }
void operator delete[](void* block) noexcept { __libc_free(block); }
void operator delete(void* block, std::size_t) noexcept { __libc_free(block); }
void operator delete[](void* block, std::size_t) noexcept { __libc_free(block); }
void operator delete(void* block, std::align_val_t) noexcept { __libc_free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { __libc_free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { __libc_free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { __libc_free(block); }
