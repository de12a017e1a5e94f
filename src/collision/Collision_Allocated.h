#pragma once

#include "core/Core_TrackedMemory.h"

#include <cstddef>

namespace Collision2D {

// Collision objects, frames and actors are made by game code with plain
// `new` or TUN_NEW and deleted by whoever owns them; both forms must reach
// the same tracked pool, so the class-level operators match Core::Object's.
struct Allocated {
    static void* operator new(std::size_t size) { return TrackedNewUnknownSource(size); }
    static void* operator new(std::size_t, void* place) noexcept { return place; }
    static void operator delete(void* block, std::size_t size) { TrackedDelete(block, size); }
    static void operator delete(void*, void*) noexcept {}
    static void* operator new[](std::size_t) = delete;
    static void operator delete[](void*) = delete;
};

}  // namespace Collision2D
