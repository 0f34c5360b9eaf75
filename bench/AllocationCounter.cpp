#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::ptrdiff_t> liveBytes{0};

// Each block carries its size in a header as wide as the strictest alignment asked for, so the
// matching delete can subtract it without help from the caller.
constexpr std::size_t kHeader = 64;

void* allocate(std::size_t size, std::size_t alignment) {
    const std::size_t header = alignment > kHeader ? alignment : kHeader;
    void* block = std::aligned_alloc(header, ((size + header + header - 1) / header) * header);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    auto* bytes = static_cast<unsigned char*>(block) + header;
    reinterpret_cast<std::size_t*>(bytes)[-1] = size;
    reinterpret_cast<std::size_t*>(bytes)[-2] = header;
    liveBytes.fetch_add(static_cast<std::ptrdiff_t>(size), std::memory_order_relaxed);
    return bytes;
}

void release(void* pointer) noexcept {
    if (pointer == nullptr) {
        return;
    }
    auto* bytes = static_cast<unsigned char*>(pointer);
    const std::size_t size = reinterpret_cast<std::size_t*>(bytes)[-1];
    const std::size_t header = reinterpret_cast<std::size_t*>(bytes)[-2];
    liveBytes.fetch_sub(static_cast<std::ptrdiff_t>(size), std::memory_order_relaxed);
    std::free(bytes - header);
}

} // namespace

namespace Korvatune::bench {

std::ptrdiff_t liveHeapBytes() {
    return liveBytes.load(std::memory_order_relaxed);
}

} // namespace Korvatune::bench

void* operator new(std::size_t size) {
    return allocate(size, alignof(std::max_align_t));
}
void* operator new[](std::size_t size) {
    return allocate(size, alignof(std::max_align_t));
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size, alignof(std::max_align_t));
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    try {
        return allocate(size, static_cast<std::size_t>(alignment));
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* pointer) noexcept {
    release(pointer);
}
void operator delete[](void* pointer) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::align_val_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::align_val_t) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept {
    release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::align_val_t, const std::nothrow_t&) noexcept {
    release(pointer);
}
