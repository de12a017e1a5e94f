#include "core/Core_TrackedMemory.h"
#include "pal/PAL_ThreadManager.h"

// The Core memory mutex is a normal mutex of the process-wide thread manager.
// Core start-up creates it and the last shut-down destroys it; in between,
// every tracked and global allocation locks it. Making and destroying it
// allocates a list node while no memory mutex is set, so neither waits on
// itself.

namespace {

void* CreateMemoryMutex() { return GetProcessThreadManager().CreateMutex(0); }

void DestroyMemoryMutex(void* mutex) { GetProcessThreadManager().DestroyMutex(static_cast<pthread_mutex_t*>(mutex)); }

bool LockMemoryMutex(void* mutex) { return ThreadManager::LockMutex(static_cast<pthread_mutex_t*>(mutex)); }

bool UnlockMemoryMutex(void* mutex) { return ThreadManager::UnlockMutex(static_cast<pthread_mutex_t*>(mutex)); }

constexpr Core::MemoryMutexInterface kMemoryMutex{&CreateMemoryMutex, &DestroyMemoryMutex, &LockMemoryMutex,
                                                  &UnlockMemoryMutex};

// Static initialisation, before the entry point and before any thread: the
// two process-wide managers exist and Core knows how to make its mutex.
[[maybe_unused]] const bool g_installed = [] {
    GetProcessThreadManager();
    GetFallbackThreadManager();
    Core::SetMemoryMutexInterface(&kMemoryMutex);
    return true;
}();

}  // namespace
