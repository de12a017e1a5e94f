#pragma once

#include "core/Core_MemoryPool.h"
#include "core/Core_TrackedMemory.h"

#include <cstddef>

namespace Core {

// Standard allocator over the memory pool, without the memory mutex: a block
// of n elements is taken and given back with the same byte size.
template <class T>
struct PoolAllocator {
    using value_type = T;

    PoolAllocator() noexcept = default;
    template <class U>
    PoolAllocator(const PoolAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) { return static_cast<T*>(AllocatedOrThrow(PoolAllocate(n * sizeof(T)))); }

    void deallocate(T* block, std::size_t n) noexcept { PoolFree(block, n * sizeof(T)); }

    template <class U>
    bool operator==(const PoolAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace Core
