#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

// Tracked allocation: every engine object is allocated with the source file
// and line of the allocating code and freed with its size. Small blocks come
// from the memory pool, large ones from the C heap. The tracked functions and
// the replaced global allocation operators take the process-wide memory mutex.

// Thrown when the C heap is exhausted.
class BadAllocation : public std::bad_alloc {
public:
    const char* what() const noexcept override { return "bad allocation"; }
};

// The block an allocator gave; BadAllocation when it gave none.
inline void* AllocatedOrThrow(void* block) {
    if (block == nullptr) {
        throw BadAllocation();
    }
    return block;
}

void* TrackedNew(std::size_t size, const char* file, int line);
void* TrackedNewUnknownSource(std::size_t size);
void TrackedDelete(void* block, std::size_t size);

namespace Core {

// How the memory mutex is made and used. The platform layer installs this
// once, at static initialisation (the process-wide thread manager makes the
// mutex); while no interface or no mutex exists, locking does nothing.
struct MemoryMutexInterface {
    void* (*create)();
    bool (*lock)(void* mutex);
    bool (*unlock)(void* mutex);
};
void SetMemoryMutexInterface(const MemoryMutexInterface* mutexInterface);

// Called by Core start-up: makes the mutex unless it exists. It is never
// destroyed, as the pool is not: a thread the thread manager gave up on may
// still allocate after the last Core shut-down, and a thread that read the
// handle must never lock freed memory.
void CreateMemoryMutex();
bool HasMemoryMutex();

// Holds the memory mutex for a scope (nothing while none exists).
class MemoryLock {
public:
    MemoryLock();
    ~MemoryLock();
    MemoryLock(const MemoryLock&) = delete;
    MemoryLock& operator=(const MemoryLock&) = delete;

private:
    void* m_mutex;
};

// Allocation tracking: called after every tracked or global allocation and
// before every release. Kind 0 is a single object, 1 an array. None is
// installed in the game; tests and tools install one. Hooks run under the
// memory mutex and must not allocate.
enum class AllocationKind : std::uint8_t { Object = 0, Array = 1 };
struct AllocationHooks {
    void (*allocated)(void* block, AllocationKind kind, std::size_t size, const char* file, int line);
    void (*released)(void* block, AllocationKind kind);
};
void SetAllocationHooks(const AllocationHooks* hooks);
void NotifyAllocated(void* block, AllocationKind kind, std::size_t size, const char* file, int line);
void NotifyReleased(void* block, AllocationKind kind);

// Allocates a T with tracked memory and constructs it; the memory goes back
// if the constructor throws. Objects made here are freed by `delete`, which
// for Core::Object classes hands the dynamic size back to TrackedDelete.
template <class T, class... Args>
T* NewTracked(const char* file, int line, Args&&... args) {
    void* block = TrackedNew(sizeof(T), file, line);
    try {
        return ::new (block) T(std::forward<Args>(args)...);
    } catch (...) {
        TrackedDelete(block, sizeof(T));
        throw;
    }
}

}  // namespace Core

// Allocates Type with the caller's source position: TUN_NEW(Sprite, a, b).
#define TUN_NEW(Type, ...) ::Core::NewTracked<Type>(__FILE__, __LINE__ __VA_OPT__(, ) __VA_ARGS__)
