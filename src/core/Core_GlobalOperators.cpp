#include "core/Core_GlobalOperators.h"

#include "core/Core_TrackedMemory.h"

#include <cstdlib>
#include <new>

// Every form of the global operators is replaced consistently: all allocate
// with malloc (or posix_memalign) under the memory mutex and free with free.

namespace {

using Core::AllocationKind;

void* Allocate(std::size_t size, AllocationKind kind, const char* file, int line) noexcept {
    Core::MemoryLock lock;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block != nullptr) {
        Core::NotifyAllocated(block, kind, size, file, line);
    }
    return block;
}

void* AllocateAligned(std::size_t size, std::size_t alignment, AllocationKind kind) noexcept {
    Core::MemoryLock lock;
    if (alignment < sizeof(void*)) {
        alignment = sizeof(void*);
    }
    void* block = nullptr;
    if (posix_memalign(&block, alignment, size == 0 ? 1 : size) != 0) {
        return nullptr;
    }
    Core::NotifyAllocated(block, kind, size, "unknown", -1);
    return block;
}

void Release(void* block, AllocationKind kind) noexcept {
    if (block == nullptr) {
        return;
    }
    Core::MemoryLock lock;
    Core::NotifyReleased(block, kind);
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
    return AllocatedOrThrow(Allocate(size, AllocationKind::Object, "unknown", -1));
}
void* operator new[](std::size_t size) {
    return AllocatedOrThrow(Allocate(size, AllocationKind::Array, "unknown", -1));
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size, AllocationKind::Object, "unknown", -1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size, AllocationKind::Array, "unknown", -1);
}

void* operator new(std::size_t size, std::align_val_t alignment) {
    return AllocatedOrThrow(AllocateAligned(size, static_cast<std::size_t>(alignment), AllocationKind::Object));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return AllocatedOrThrow(AllocateAligned(size, static_cast<std::size_t>(alignment), AllocationKind::Array));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, static_cast<std::size_t>(alignment), AllocationKind::Object);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, static_cast<std::size_t>(alignment), AllocationKind::Array);
}

void* operator new(std::size_t size, const char* file, int line) {
    return AllocatedOrThrow(Allocate(size, AllocationKind::Object, file, line));
}
void* operator new[](std::size_t size, const char* file, int line) {
    return AllocatedOrThrow(Allocate(size, AllocationKind::Array, file, line));
}

void operator delete(void* block) noexcept { Release(block, AllocationKind::Object); }
void operator delete[](void* block) noexcept { Release(block, AllocationKind::Array); }
void operator delete(void* block, std::size_t) noexcept { Release(block, AllocationKind::Object); }
void operator delete[](void* block, std::size_t) noexcept { Release(block, AllocationKind::Array); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block, AllocationKind::Object); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block, AllocationKind::Array); }
void operator delete(void* block, std::align_val_t) noexcept { Release(block, AllocationKind::Object); }
void operator delete[](void* block, std::align_val_t) noexcept { Release(block, AllocationKind::Array); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { Release(block, AllocationKind::Object); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { Release(block, AllocationKind::Array); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    Release(block, AllocationKind::Object);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    Release(block, AllocationKind::Array);
}

void operator delete(void* block, const char*, int) noexcept { Release(block, AllocationKind::Object); }
void operator delete[](void* block, const char*, int) noexcept { Release(block, AllocationKind::Array); }
