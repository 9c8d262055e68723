#include "bench/AllocationCounter.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

// Every allocation is counted by its usable size as malloc reports it, which the unsized,
// sized and aligned forms of delete can all ask for again, so no header is needed.
namespace quorvel::bench {
namespace {

std::atomic<std::size_t> current{0};
std::atomic<std::size_t> peak{0};

void Count(void* pointer) {
    const std::size_t now =
        current.fetch_add(malloc_usable_size(pointer)) + malloc_usable_size(pointer);
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
}

void Uncount(void* pointer) {
    if (pointer != nullptr) {
        current.fetch_sub(malloc_usable_size(pointer));
    }
}

void* Allocate(std::size_t size) {
    void* pointer = std::malloc(size == 0 ? 1 : size);
    if (pointer == nullptr) {
        throw std::bad_alloc();
    }
    Count(pointer);
    return pointer;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    void* pointer = nullptr;
    const auto align = std::max(static_cast<std::size_t>(alignment), sizeof(void*));
    if (posix_memalign(&pointer, align, size == 0 ? 1 : size) != 0) {
        throw std::bad_alloc();
    }
    Count(pointer);
    return pointer;
}

void Release(void* pointer) {
    Uncount(pointer);
    std::free(pointer);
}

} // namespace

std::size_t CurrentBytes() {
    return current.load();
}
std::size_t PeakBytes() {
    return peak.load();
}
void ResetPeak() {
    peak.store(current.load());
}

} // namespace quorvel::bench

using quorvel::bench::Allocate;
using quorvel::bench::AllocateAligned;
using quorvel::bench::Release;

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return AllocateAligned(size, alignment);
}

void operator delete(void* pointer) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, std::align_val_t) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, std::align_val_t) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept {
    Release(pointer);
}
