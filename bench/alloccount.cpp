// Replaces the global operator new and the malloc family in the benchmark executable (only there)
// to count calls; memory still comes from glibc's allocator.
#include "alloccount.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t n, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* p);
}

namespace {

std::atomic<std::uint64_t> newCalls{0};
std::atomic<std::uint64_t> mallocCalls{0};

void count(std::atomic<std::uint64_t>& counter) {
    counter.fetch_add(1, std::memory_order_relaxed);
}

void* allocate(std::size_t size) {
    count(newCalls);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    count(newCalls);
    const auto a = static_cast<std::size_t>(alignment);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}

} // namespace

namespace kesmora::bench {

AllocationCounts allocationCounts() {
    return {newCalls.load(std::memory_order_relaxed), mallocCalls.load(std::memory_order_relaxed)};
}

} // namespace kesmora::bench

extern "C" {
// glibc lets a program replace malloc, calloc, realloc and free; every library in the process then
// calls these. The aligned forms are replaced too so that all allocations are counted alike.
void* malloc(std::size_t size) noexcept {
    count(mallocCalls);
    return __libc_malloc(size);
}
void* calloc(std::size_t n, std::size_t size) noexcept {
    count(mallocCalls);
    return __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t size) noexcept {
    count(mallocCalls);
    return __libc_realloc(p, size);
}
void free(void* p) noexcept {
    __libc_free(p);
}
void* memalign(std::size_t alignment, std::size_t size) noexcept {
    count(mallocCalls);
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    count(mallocCalls);
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept {
    count(mallocCalls);
    void* p = __libc_memalign(alignment, size);
    if (!p) return 12; // ENOMEM
    *out = p;
    return 0;
}
}

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    count(newCalls);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    count(newCalls);
    return std::malloc(size ? size : 1);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
