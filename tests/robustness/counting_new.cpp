// SPDX-License-Identifier: MIT
// The counting, failing global operator new and delete of counting_new.h. Every replaceable
// form is defined, so no allocation of the program escapes the count.
#include "counting_new.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace counting_new {
namespace {

std::atomic<long> allocations{0};
std::atomic<long> live{0};
std::atomic<long> failAt{0};
std::atomic<bool> fromThereOn{false};
std::atomic<bool> injected{false};
std::atomic<std::size_t> sizeLimit{0};
std::atomic<std::size_t> largest{0};

// Null when this request is to fail; otherwise a block from `allocate`, counted as live.
template <class Allocator>
void* Allocate(std::size_t size, Allocator allocate) {
    const long n = ++allocations;
    std::size_t seen = largest.load();
    while (size > seen && !largest.compare_exchange_weak(seen, size)) {
    }
    const long at = failAt.load();
    const std::size_t limit = sizeLimit.load();
    if ((at > 0 && (n == at || (n > at && fromThereOn.load()))) || (limit > 0 && size > limit)) {
        injected = true;
        return nullptr;
    }
    void* p = allocate(size == 0 ? 1 : size);
    if (p != nullptr) {
        ++live;
    }
    return p;
}

void* Plain(std::size_t size) {
    return Allocate(size, [](std::size_t n) { return std::malloc(n); });
}

void* Aligned(std::size_t size, std::align_val_t alignment) {
    return Allocate(size, [alignment](std::size_t n) -> void* {
        const std::size_t a = static_cast<std::size_t>(alignment);
#if defined(_WIN32)
        return _aligned_malloc(n, a);
#else
        return std::aligned_alloc(a, (n + a - 1) / a * a);
#endif
    });
}

void Release(void* p) {
    if (p != nullptr) {
        --live;
        std::free(p);
    }
}

void ReleaseAligned(void* p) {
    if (p != nullptr) {
        --live;
#if defined(_WIN32)
        _aligned_free(p);
#else
        std::free(p);
#endif
    }
}

}  // namespace

void Arm(long at, FailMode mode) {
    failAt = 0;
    fromThereOn = mode == FailMode::FromThereOn;
    injected = false;
    largest = 0;
    allocations = 0;
    failAt = at;
}

void Disarm() {
    failAt = 0;
}

long Allocations() {
    return allocations;
}

bool Injected() {
    return injected;
}

long LiveBlocks() {
    return live;
}

std::size_t SetSizeLimit(std::size_t bytes) {
    return sizeLimit.exchange(bytes);
}

std::size_t LargestRequest() {
    return largest;
}

}  // namespace counting_new

void* operator new(std::size_t size) {
    if (void* p = counting_new::Plain(size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return counting_new::Plain(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return counting_new::Plain(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    if (void* p = counting_new::Aligned(size, alignment)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return operator new(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return counting_new::Aligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return counting_new::Aligned(size, alignment);
}

void operator delete(void* p) noexcept {
    counting_new::Release(p);
}
void operator delete[](void* p) noexcept {
    counting_new::Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    counting_new::Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    counting_new::Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    counting_new::Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    counting_new::Release(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    counting_new::ReleaseAligned(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    counting_new::ReleaseAligned(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    counting_new::ReleaseAligned(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    counting_new::ReleaseAligned(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    counting_new::ReleaseAligned(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    counting_new::ReleaseAligned(p);
}
