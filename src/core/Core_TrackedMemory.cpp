#include "core/Core_TrackedMemory.h"

#include "core/Core_MemoryPool.h"

#include <atomic>

namespace Core {
namespace {

std::atomic<const MemoryMutexInterface*> g_mutexInterface{nullptr};
std::atomic<void*> g_memoryMutex{nullptr};
std::atomic<const AllocationHooks*> g_hooks{nullptr};

}  // namespace

void SetMemoryMutexInterface(const MemoryMutexInterface* mutexInterface) {
    g_mutexInterface.store(mutexInterface, std::memory_order_release);
}

void CreateMemoryMutex() {
    const MemoryMutexInterface* mutexInterface = g_mutexInterface.load(std::memory_order_acquire);
    if (mutexInterface == nullptr || g_memoryMutex.load(std::memory_order_acquire) != nullptr) {
        return;
    }
    g_memoryMutex.store(mutexInterface->create(), std::memory_order_release);
}

bool HasMemoryMutex() { return g_memoryMutex.load(std::memory_order_acquire) != nullptr; }

MemoryLock::MemoryLock() : m_mutex(g_memoryMutex.load(std::memory_order_acquire)) {
    if (m_mutex != nullptr) {
        g_mutexInterface.load(std::memory_order_acquire)->lock(m_mutex);
    }
}

MemoryLock::~MemoryLock() {
    if (m_mutex != nullptr) {
        g_mutexInterface.load(std::memory_order_acquire)->unlock(m_mutex);
    }
}

void SetAllocationHooks(const AllocationHooks* hooks) { g_hooks.store(hooks, std::memory_order_release); }

void NotifyAllocated(void* block, AllocationKind kind, std::size_t size, const char* file, int line) {
    if (const AllocationHooks* hooks = g_hooks.load(std::memory_order_acquire)) {
        hooks->allocated(block, kind, size, file, line);
    }
}

void NotifyReleased(void* block, AllocationKind kind) {
    if (const AllocationHooks* hooks = g_hooks.load(std::memory_order_acquire)) {
        hooks->released(block, kind);
    }
}

}  // namespace Core

void* TrackedNew(std::size_t size, const char* file, int line) {
    Core::MemoryLock lock;
    void* block = AllocatedOrThrow(Core::PoolAllocate(size));
    Core::NotifyAllocated(block, Core::AllocationKind::Object, size, file, line);
    return block;
}

void* TrackedNewUnknownSource(std::size_t size) { return TrackedNew(size, "unknown", -1); }

void TrackedDelete(void* block, std::size_t size) {
    if (block == nullptr) {
        return;
    }
    Core::MemoryLock lock;
    Core::PoolFree(block, size);
    Core::NotifyReleased(block, Core::AllocationKind::Object);
}
