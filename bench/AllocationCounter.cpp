#include "AllocationCounter.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::ptrdiff_t> liveBytes{0};

// Each block carries its size and the start of the underlying allocation just below the
// aligned address it hands out, so the matching delete needs no help from the caller. Plain
// malloc keeps it portable to every toolchain the bench may be built with.
struct Header {
    void* block;
    std::size_t size;
};

void* allocate(std::size_t size, std::size_t alignment) {
    if (alignment < alignof(std::max_align_t)) {
        alignment = alignof(std::max_align_t);
    }
    void* block = std::malloc(size + alignment + sizeof(Header));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(block) + sizeof(Header);
    const std::uintptr_t aligned = (start + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
    reinterpret_cast<Header*>(aligned)[-1] = {block, size};
    liveBytes.fetch_add(static_cast<std::ptrdiff_t>(size), std::memory_order_relaxed);
    return reinterpret_cast<void*>(aligned);
}

void release(void* pointer) noexcept {
    if (pointer == nullptr) {
        return;
    }
    const Header header = static_cast<Header*>(pointer)[-1];
    liveBytes.fetch_sub(static_cast<std::ptrdiff_t>(header.size), std::memory_order_relaxed);
    std::free(header.block);
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
