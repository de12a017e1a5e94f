#pragma once

#include "sound/Sound_SoundEngine.h"

// Holds the engine's source lock for a scope. A lock that does not exist
// (no device, or shut down) or cannot be taken is not held, and the
// operation that asked fails quietly.
class SoundEngine::SourceLock {
public:
    explicit SourceLock(pthread_mutex_t* mutex) : m_mutex(mutex), m_held(ThreadManager::LockMutex(mutex)) {}
    ~SourceLock() {
        if (m_held) {
            ThreadManager::UnlockMutex(m_mutex);
        }
    }
    SourceLock(const SourceLock&) = delete;
    SourceLock& operator=(const SourceLock&) = delete;

    explicit operator bool() const { return m_held; }

private:
    pthread_mutex_t* const m_mutex;
    const bool m_held;
};
