#include "pal/PAL_ThreadManager.h"

#include "core/Core_TrackedMemory.h"
#include "os/OS_Sleep.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <new>

namespace {

// Guards every manager's lists and every record's owner. Constant-initialised
// and never destroyed, so it works from static initialisation to exit.
constinit std::mutex g_registryLock;

// Primitives that were still held when their manager destroyed them. The
// holder may still unlock them, so their memory stays for the life of the process.
struct Graveyard {
    std::list<pthread_mutex_t> mutexes;
    std::list<pthread_rwlock_t> readWriteLocks;
    std::list<pthread_cond_t> conditions;
};

Graveyard& GetGraveyard() {
    static Graveyard* const graveyard = new Graveyard();
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

// Moves the nodes from nodes out of list: every node when handle is null,
// else the one holding handle (none when it is not listed).
template <class Primitive>
void TakeNodes(std::list<Primitive>& list, const Primitive* handle, std::list<Primitive>& nodes) {
    std::lock_guard<std::mutex> lock(g_registryLock);
    if (handle == nullptr) {
        nodes.splice(nodes.end(), list);
        return;
    }
    const auto node = std::find_if(list.begin(), list.end(), [handle](const Primitive& p) { return &p == handle; });
    if (node != list.end()) {
        nodes.splice(nodes.end(), list, node);
    }
}

// Destroys the primitive of each node with retire, which refuses (and
// leaves the primitive untouched) when it is still held; those nodes go to
// the graveyard list named by buried. The other nodes are freed with the list.
template <class Primitive, class Retire>
void RetireNodes(std::list<Primitive>& nodes, Retire retire, std::list<Primitive> Graveyard::*buried,
                 const char* kind) {
    for (auto node = nodes.begin(); node != nodes.end();) {
        const auto next = std::next(node);
        if (!retire(*node)) {
            std::fprintf(stderr, "ThreadManager: a %s destroyed while in use is left in place\n", kind);
            Graveyard& graveyard = GetGraveyard();
            std::lock_guard<std::mutex> lock(g_registryLock);
            (graveyard.*buried).splice((graveyard.*buried).end(), nodes, node);
        }
        node = next;
    }
}

// Destroys only after a successful try-lock: unlocking a lock held by
// another thread, or destroying a held one, is undefined.
bool RetireMutex(pthread_mutex_t& mutex) {
    if (pthread_mutex_trylock(&mutex) != 0) {
        return false;
    }
    pthread_mutex_unlock(&mutex);
    pthread_mutex_destroy(&mutex);
    return true;
}

bool RetireReadWriteLock(pthread_rwlock_t& lock) {
    if (pthread_rwlock_trywrlock(&lock) != 0) {
        return false;
    }
    pthread_rwlock_unlock(&lock);
    pthread_rwlock_destroy(&lock);
    return true;
}

bool RetireCondition(pthread_cond_t& condition) {
    pthread_cond_broadcast(&condition);
    return pthread_cond_destroy(&condition) == 0;
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

// Only for threads still listed: a listed thread has not returned yet.
void DropToLowestPriority(pthread_t handle) {
    sched_param parameters{};
    parameters.sched_priority = ThreadPriorityLowest();
    pthread_setschedparam(handle, SCHED_OTHER, &parameters);
}

}  // namespace

ThreadManager::ThreadManager() { GetThreadPriorityLevels(); }

ThreadManager::~ThreadManager() {
    m_waitForThreads = true;
    StopAll(false);

    std::list<pthread_mutex_t> mutexes;
    std::list<pthread_rwlock_t> readWriteLocks;
    std::list<pthread_cond_t> conditions;
    TakeNodes(m_mutexes, static_cast<const pthread_mutex_t*>(nullptr), mutexes);
    TakeNodes(m_readWriteLocks, static_cast<const pthread_rwlock_t*>(nullptr), readWriteLocks);
    TakeNodes(m_conditions, static_cast<const pthread_cond_t*>(nullptr), conditions);
    RetireNodes(mutexes, RetireMutex, &Graveyard::mutexes, "mutex");
    RetireNodes(readWriteLocks, RetireReadWriteLock, &Graveyard::readWriteLocks, "read-write lock");
    RetireNodes(conditions, RetireCondition, &Graveyard::conditions, "condition");
}

ManagedThread* ThreadManager::CreateThread(ManagedThread::Function init, ManagedThread::Function run, void* argument,
                                           int priority, bool inheritScheduling) {
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
        thread = StartThread(attributes, init, run, argument);
    }
    pthread_attr_destroy(&attributes);
    return thread;
}

ManagedThread* ThreadManager::StartThread(const pthread_attr_t& attributes, ManagedThread::Function init,
                                          ManagedThread::Function run, void* argument) {
    ManagedThread* thread = nullptr;
    try {
        void* block = TrackedNew(sizeof(ManagedThread), "PAL_ThreadManager", __LINE__);
        thread = ::new (block) ManagedThread(init, run, argument, this);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(g_registryLock);
    try {
        m_threads.push_back(thread);
    } catch (const std::bad_alloc&) {
        thread->~ManagedThread();
        TrackedDelete(thread, sizeof(ManagedThread));
        return nullptr;
    }
    // The new thread cannot unregister before the lock is released, and
    // nobody can reach the record before its handle is set.
    pthread_t handle{};
    if (pthread_create(&handle, &attributes, &ThreadManager::ThreadEntry, thread) != 0) {
        m_threads.pop_back();
        thread->~ManagedThread();
        TrackedDelete(thread, sizeof(ManagedThread));
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
    thread->~ManagedThread();
    TrackedDelete(thread, sizeof(ManagedThread));
    // Published last: whoever sees the count drop knows that the thread has
    // given back everything it allocated.
    if (owner != nullptr) {
        owner->PublishThreadCount();
    }
}

// Release order: whoever reads a count also sees what the threads that
// ended before it did.
void ThreadManager::PublishThreadCount() { m_threadCount.store(m_threads.size(), std::memory_order_release); }

void ThreadManager::StopThread(ManagedThread* thread, bool lowerPriority) {
    std::lock_guard<std::mutex> lock(g_registryLock);
    // A record is only dereferenced while listed, that is while its thread runs.
    if (thread == nullptr || std::find(m_threads.begin(), m_threads.end(), thread) == m_threads.end()) {
        return;
    }
    thread->m_stop.store(1, std::memory_order_relaxed);
    if (lowerPriority) {
        DropToLowestPriority(thread->m_handle);
    }
}

void ThreadManager::StopAll(bool lowerPriority) {
    {
        std::lock_guard<std::mutex> lock(g_registryLock);
        for (ManagedThread* thread : m_threads) {
            thread->m_stop.store(1, std::memory_order_relaxed);
            if (lowerPriority) {
                DropToLowestPriority(thread->m_handle);
            }
        }
    }
    if (m_waitForThreads) {
        for (std::uint32_t sleeps = 0; GetThreadCount() != 0 && sleeps < kStopWaitLimit; ++sleeps) {
            os::Sleep(1);
        }
    }
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
    if (mutex == nullptr) {
        return;
    }
    std::list<pthread_mutex_t> nodes;
    TakeNodes(m_mutexes, mutex, nodes);
    RetireNodes(nodes, RetireMutex, &Graveyard::mutexes, "mutex");
}

void ThreadManager::DestroyReadWriteLock(pthread_rwlock_t* lock) {
    if (lock == nullptr) {
        return;
    }
    std::list<pthread_rwlock_t> nodes;
    TakeNodes(m_readWriteLocks, lock, nodes);
    RetireNodes(nodes, RetireReadWriteLock, &Graveyard::readWriteLocks, "read-write lock");
}

void ThreadManager::DestroyCondition(pthread_cond_t* condition) {
    if (condition == nullptr) {
        return;
    }
    std::list<pthread_cond_t> nodes;
    TakeNodes(m_conditions, condition, nodes);
    RetireNodes(nodes, RetireCondition, &Graveyard::conditions, "condition");
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
