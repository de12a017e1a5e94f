#include "pal/PAL_ThreadManager.h"

#include "core/Core_TrackedMemory.h"
#include "os/OS_Sleep.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <new>
#include <type_traits>

namespace {

// Guards every manager's lists and every record's owner. Constant-initialised
// and never destroyed, so it works from static initialisation to exit.
constinit std::mutex g_registryLock;

// Primitives that were still held when their manager destroyed them, one
// list per kind. The holder may still unlock them, so their memory stays for
// the life of the process. Made on first use only.
template <class Primitive>
std::list<Primitive>& Graveyard() {
    static auto* const graveyard = new std::list<Primitive>();
    return *graveyard;
}

// Makes one primitive in a node of its own, outside the registry lock, and
// moves the node into list. Null when the node cannot be allocated or init fails.
template <class Primitive, class Init>
Primitive* AddPrimitive(std::list<Primitive>& list, Init init) {
    std::list<Primitive> node;
    try {
        node.emplace_back();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!init(node.front())) {
        return nullptr;
    }
    Primitive* handle = &node.front();
    std::lock_guard<std::mutex> lock(g_registryLock);
    list.splice(list.end(), node);
    return handle;
}

// Destroys only after a successful try-lock: unlocking a lock held by
// another thread, or destroying a held one, is undefined.
bool Retire(pthread_mutex_t& mutex) {
    if (pthread_mutex_trylock(&mutex) != 0) {
        return false;
    }
    pthread_mutex_unlock(&mutex);
    pthread_mutex_destroy(&mutex);
    return true;
}

bool Retire(pthread_rwlock_t& lock) {
    if (pthread_rwlock_trywrlock(&lock) != 0) {
        return false;
    }
    pthread_rwlock_unlock(&lock);
    pthread_rwlock_destroy(&lock);
    return true;
}

bool Retire(pthread_cond_t& condition) {
    pthread_cond_broadcast(&condition);
    return pthread_cond_destroy(&condition) == 0;
}

// Takes the node holding handle (every node when handle is null; none when
// it is not listed) out of list and destroys its primitive. A primitive that
// Retire refuses, because it is still held, goes to the graveyard instead.
template <class Primitive>
void DestroyListed(std::list<Primitive>& list, std::type_identity_t<const Primitive*> handle) {
    std::list<Primitive> nodes;
    {
        std::lock_guard<std::mutex> lock(g_registryLock);
        if (handle == nullptr) {
            nodes.splice(nodes.end(), list);
        } else {
            const auto node =
                std::find_if(list.begin(), list.end(), [handle](const Primitive& p) { return &p == handle; });
            if (node != list.end()) {
                nodes.splice(nodes.end(), list, node);
            }
        }
    }
    for (auto node = nodes.begin(); node != nodes.end();) {
        const auto next = std::next(node);
        if (!Retire(*node)) {
            std::fprintf(stderr, "ThreadManager: a lock destroyed while in use is left in place\n");
            std::list<Primitive>& graveyard = Graveyard<Primitive>();
            std::lock_guard<std::mutex> lock(g_registryLock);
            graveyard.splice(graveyard.end(), nodes, node);
        }
        node = next;
    }
}

bool InitMutex(pthread_mutex_t& mutex, int type) {
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0) {
        return false;
    }
    if (pthread_mutexattr_settype(&attributes, type) != 0 || pthread_mutex_init(&mutex, &attributes) != 0) {
        pthread_mutexattr_destroy(&attributes);
        return false;
    }
    if (pthread_mutexattr_destroy(&attributes) != 0) {
        pthread_mutex_destroy(&mutex);
        return false;
    }
    return true;
}

// Brings a priority into the range of the levels: the normal policy refuses
// anything else, and the thread would not start at all.
int ClampPriority(int priority) {
    const ThreadPriorityLevels& levels = GetThreadPriorityLevels();
    const int low = std::min(levels.lowest, levels.highest);
    const int high = std::max(levels.lowest, levels.highest);
    return std::clamp(priority, low, high);
}

}  // namespace

ThreadManager::ThreadManager() { GetThreadPriorityLevels(); }

ThreadManager::~ThreadManager() {
    StopAll(false);
    if (!WaitForThreads(kStopWaitLimit)) {
        HandThreadsToFallback();
    }

    DestroyListed(m_mutexes, nullptr);
    DestroyListed(m_readWriteLocks, nullptr);
    DestroyListed(m_conditions, nullptr);
}

ManagedThread* ThreadManager::CreateThread(ManagedThread::Function init, ManagedThread::Function run, void* argument,
                                           int priority, bool inheritScheduling, const char* name) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        return nullptr;
    }
    sched_param parameters{};
    parameters.sched_priority = ClampPriority(priority);
    ManagedThread* thread = nullptr;
    if (pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED) == 0 &&
        pthread_attr_setschedparam(&attributes, &parameters) == 0 &&
        pthread_attr_setinheritsched(&attributes, inheritScheduling ? PTHREAD_INHERIT_SCHED : PTHREAD_EXPLICIT_SCHED) ==
            0) {
        thread = StartThread(attributes, init, run, argument, name);
    }
    pthread_attr_destroy(&attributes);
    return thread;
}

ManagedThread* ThreadManager::StartThread(const pthread_attr_t& attributes, ManagedThread::Function init,
                                          ManagedThread::Function run, void* argument, const char* name) {
    ManagedThread* thread = nullptr;
    try {
        void* block = TrackedNew(sizeof(ManagedThread), "PAL_ThreadManager", __LINE__);
        thread = ::new (block) ManagedThread(init, run, argument, this, name);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(g_registryLock);
    try {
        m_threads.push_back(thread);
    } catch (const std::bad_alloc&) {
        FreeRecord(thread);
        return nullptr;
    }
    // The new thread cannot unregister before the lock is released, and
    // nobody can reach the record before its handle is set.
    pthread_t handle{};
    if (pthread_create(&handle, &attributes, &ThreadManager::ThreadEntry, thread) != 0) {
        m_threads.pop_back();
        FreeRecord(thread);
        return nullptr;
    }
    thread->m_handle = handle;
    PublishThreadCount();
    return thread;
}

void* ThreadManager::ThreadEntry(void* record) {
    auto* thread = static_cast<ManagedThread*>(record);
    if (thread->m_init != nullptr) {
        thread->m_init(thread);
    }
    if (thread->m_run != nullptr) {
        thread->m_run(thread);
    }
    Unregister(thread);
    return nullptr;
}

void ThreadManager::Unregister(ManagedThread* thread) {
    std::lock_guard<std::mutex> lock(g_registryLock);
    ThreadManager* owner = thread->m_owner.load(std::memory_order_relaxed);
    if (owner != nullptr) {
        owner->m_threads.remove(thread);
    }
    FreeRecord(thread);
    // Published last: whoever sees the count drop knows that the thread has
    // given back everything it allocated.
    if (owner != nullptr) {
        owner->PublishThreadCount();
    }
}

void ThreadManager::FreeRecord(ManagedThread* thread) {
    thread->~ManagedThread();
    TrackedDelete(thread, sizeof(ManagedThread));
}

// Release order: whoever reads a count also sees what the threads that
// ended before it did.
void ThreadManager::PublishThreadCount() { m_threadCount.store(m_threads.size(), std::memory_order_release); }

void ThreadManager::TellToStop(ManagedThread* thread, bool lowerPriority) {
    thread->m_stop.store(1, std::memory_order_relaxed);
    if (lowerPriority) {
        sched_param parameters{};
        parameters.sched_priority = ThreadPriorityLowest();
        pthread_setschedparam(thread->m_handle, SCHED_OTHER, &parameters);
    }
}

void ThreadManager::StopThread(ManagedThread* thread, bool lowerPriority) {
    std::lock_guard<std::mutex> lock(g_registryLock);
    // A record is only dereferenced while listed, that is while its thread runs.
    if (thread == nullptr || std::find(m_threads.begin(), m_threads.end(), thread) == m_threads.end()) {
        return;
    }
    TellToStop(thread, lowerPriority);
}

void ThreadManager::StopAll(bool lowerPriority) {
    std::lock_guard<std::mutex> lock(g_registryLock);
    for (ManagedThread* thread : m_threads) {
        TellToStop(thread, lowerPriority);
    }
}

bool ThreadManager::WaitForThreads(std::uint32_t milliseconds) {
    for (std::uint32_t sleeps = 0; GetThreadCount() != 0 && sleeps < milliseconds; ++sleeps) {
        os::Sleep(1);
    }
    std::lock_guard<std::mutex> lock(g_registryLock);
    for (const ManagedThread* thread : m_threads) {
        std::fprintf(stderr, "ThreadManager: thread \"%s\" still running after %u ms\n", thread->GetName(),
                     milliseconds);
    }
    return m_threads.empty();
}

void ThreadManager::HandThreadsToFallback() {
    ThreadManager& fallback = GetFallbackThreadManager();
    if (&fallback == this) {
        return;
    }
    // The survivors will unregister from, and be freed under, the fallback manager.
    std::lock_guard<std::mutex> lock(g_registryLock);
    for (ManagedThread* thread : m_threads) {
        thread->m_owner.store(&fallback, std::memory_order_relaxed);
    }
    fallback.m_threads.splice(fallback.m_threads.end(), m_threads);
    fallback.PublishThreadCount();
    PublishThreadCount();
}

pthread_mutex_t* ThreadManager::CreateMutex(int type) {
    return AddPrimitive(m_mutexes, [type](pthread_mutex_t& mutex) { return InitMutex(mutex, type); });
}

pthread_rwlock_t* ThreadManager::CreateReadWriteLock() {
    return AddPrimitive(m_readWriteLocks,
                        [](pthread_rwlock_t& lock) { return pthread_rwlock_init(&lock, nullptr) == 0; });
}

pthread_cond_t* ThreadManager::CreateCondition() {
    return AddPrimitive(m_conditions,
                        [](pthread_cond_t& condition) { return pthread_cond_init(&condition, nullptr) == 0; });
}

void ThreadManager::DestroyMutex(pthread_mutex_t* mutex) {
    if (mutex != nullptr) {
        DestroyListed(m_mutexes, mutex);
    }
}

void ThreadManager::DestroyReadWriteLock(pthread_rwlock_t* lock) {
    if (lock != nullptr) {
        DestroyListed(m_readWriteLocks, lock);
    }
}

void ThreadManager::DestroyCondition(pthread_cond_t* condition) {
    if (condition != nullptr) {
        DestroyListed(m_conditions, condition);
    }
}

bool ThreadManager::LockMutex(pthread_mutex_t* mutex) { return mutex != nullptr && pthread_mutex_lock(mutex) == 0; }

bool ThreadManager::UnlockMutex(pthread_mutex_t* mutex) {
    return mutex != nullptr && pthread_mutex_unlock(mutex) == 0;
}

bool ThreadManager::ReadLock(pthread_rwlock_t* lock) { return lock != nullptr && pthread_rwlock_rdlock(lock) == 0; }

bool ThreadManager::WriteLock(pthread_rwlock_t* lock) { return lock != nullptr && pthread_rwlock_wrlock(lock) == 0; }

bool ThreadManager::TryWriteLock(pthread_rwlock_t* lock) {
    return lock != nullptr && pthread_rwlock_trywrlock(lock) == 0;
}

bool ThreadManager::UnlockReadWriteLock(pthread_rwlock_t* lock) {
    return lock != nullptr && pthread_rwlock_unlock(lock) == 0;
}

bool ThreadManager::SignalCondition(pthread_cond_t* condition, bool all) {
    if (condition == nullptr) {
        return false;
    }
    return (all ? pthread_cond_broadcast(condition) : pthread_cond_signal(condition)) == 0;
}

bool ThreadManager::WaitCondition(pthread_cond_t* condition, pthread_mutex_t* mutex) {
    return condition != nullptr && mutex != nullptr && pthread_cond_wait(condition, mutex) == 0;
}

namespace {

template <class Primitive>
std::size_t CountUnderLock(const std::list<Primitive>& list) {
    std::lock_guard<std::mutex> lock(g_registryLock);
    return list.size();
}

}  // namespace

std::size_t ThreadManager::GetMutexCount() const { return CountUnderLock(m_mutexes); }
std::size_t ThreadManager::GetReadWriteLockCount() const { return CountUnderLock(m_readWriteLocks); }
std::size_t ThreadManager::GetConditionCount() const { return CountUnderLock(m_conditions); }

ThreadManager& GetProcessThreadManager() {
    static ThreadManager* const manager = new ThreadManager();
    return *manager;
}

ThreadManager& GetFallbackThreadManager() {
    static ThreadManager* const manager = new ThreadManager();
    return *manager;
}
