#pragma once

#include "pal/PAL_ThreadManager.h"

#include <pthread.h>

namespace Network {

// Holds a thread-manager mutex for a scope. The mutex must exist: a lock
// that fails is not held, and the scope runs unguarded.
class MutexLock {
public:
    explicit MutexLock(pthread_mutex_t* mutex) : m_mutex(mutex), m_held(ThreadManager::LockMutex(mutex)) {}
    ~MutexLock() {
        if (m_held) {
            ThreadManager::UnlockMutex(m_mutex);
        }
    }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    pthread_mutex_t* const m_mutex;
    const bool m_held;
};

}  // namespace Network
