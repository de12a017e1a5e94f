#pragma once

#include <cstddef>

// The global allocation operators are replaced (Core_GlobalOperators.cpp) so
// that plain containers and arrays take the memory mutex and reach the
// allocation-tracking hook too. These forms also carry a source position;
// their placement deletes free the block when a constructor throws.
void* operator new(std::size_t size, const char* file, int line);
void* operator new[](std::size_t size, const char* file, int line);
void operator delete(void* block, const char* file, int line) noexcept;
void operator delete[](void* block, const char* file, int line) noexcept;
