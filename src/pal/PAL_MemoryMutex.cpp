#include "pal/PAL_MemoryMutex.h"

#include "core/Core_Startup.h"
#include "core/Core_TrackedMemory.h"
#include "pal/PAL_ThreadManager.h"

// Making the mutex allocates a list node while no memory mutex is set, so
// it does not wait on itself.

namespace {

void* CreateMemoryMutex() { return GetProcessThreadManager().CreateMutex(0); }

bool LockMemoryMutex(void* mutex) { return ThreadManager::LockMutex(static_cast<pthread_mutex_t*>(mutex)); }

bool UnlockMemoryMutex(void* mutex) { return ThreadManager::UnlockMutex(static_cast<pthread_mutex_t*>(mutex)); }

constexpr Core::MemoryMutexInterface kMemoryMutex{&CreateMemoryMutex, &LockMemoryMutex, &UnlockMemoryMutex};

// Static initialisation, before the entry point and before any thread.
[[maybe_unused]] const bool g_installed = (InstallMemoryMutex(), true);

}  // namespace

void InstallMemoryMutex() {
    GetProcessThreadManager();
    GetFallbackThreadManager();
    Core::SetMemoryMutexInterface(&kMemoryMutex);
    // The order of static initialisers across files is not fixed.
    if (Core::GetStartupCount() != 0) {
        Core::CreateMemoryMutex();
    }
}
