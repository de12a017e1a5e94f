#pragma once

#include <cstddef>

// Test hooks of the memory pool, kept apart from what the engine includes.
namespace Core::testhooks {

using SystemAllocator = void* (*)(std::size_t size);

// Where the pool's chunks and large blocks come from: malloc, unless a test
// injects a failing allocator. Null restores malloc.
void SetSystemAllocator(SystemAllocator allocator);

}  // namespace Core::testhooks
