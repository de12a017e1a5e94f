#pragma once

#include "pal/PAL_ThreadManager.h"

#include <pthread.h>

// Holds a thread-manager mutex for a scope. A mutex that does not exist or
// cannot be taken is not held: the lock reads false, and the caller decides
// whether its scope may run unguarded.
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

    explicit operator bool() const { return m_held; }

private:
    pthread_mutex_t* const m_mutex;
    const bool m_held;
};
