#pragma once

#include "pal/PAL_ManagedThread.h"
#include "pal/PAL_ThreadPriority.h"

#include <pthread.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <list>

// The engine's only way to start threads and to make mutexes, read-write
// locks and condition variables. A manager lists everything it made, so that
// destroying it stops its threads and destroys its primitives in one go.
//
// Threads are stopped cooperatively: StopThread and StopAll set a flag that
// the thread polls with ManagedThread::ShouldRun or SleepUnlessStopped.
// Threads are detached; when a thread's functions return, the thread removes
// its record from its owner's list and frees it, so a manager's thread count
// is the number of its threads still running their functions. Only a manager
// being destroyed hands the threads it could not wait for to the fallback
// manager, which counts them from then on.
//
// One process-wide registry lock guards every manager's lists and every
// record's owner. It is taken before the memory mutex, never after: list
// nodes and records are allocated while holding it, and nothing that holds
// the memory mutex ever asks for it (the lock wrappers only use the handle).
class ThreadManager {
public:
    // The most 1 ms sleeps that stopping waits for the threads to end.
    static constexpr std::uint32_t kStopWaitLimit = 500;

    ThreadManager();
    // Stops the threads and waits up to kStopWaitLimit ms for them to end;
    // survivors are logged by name and go to the fallback manager. Then
    // destroys every listed primitive; one still held is left in place.
    ~ThreadManager();
    ThreadManager(const ThreadManager&) = delete;
    ThreadManager& operator=(const ThreadManager&) = delete;

    // Starts a detached thread that calls init, then run (either may be null)
    // with its record. With inheritScheduling the thread takes its creator's
    // scheduling; otherwise the priority applies, brought into the range of
    // the ThreadPriority levels. The name (cut to ManagedThread::kNameSize - 1
    // characters) tells the thread apart in logs. Null when the thread
    // cannot be started.
    ManagedThread* CreateThread(ManagedThread::Function init, ManagedThread::Function run, void* argument,
                                int priority, bool inheritScheduling, const char* name = "unnamed");
    // Tells a listed thread to stop, optionally dropping it to the lowest
    // priority level; does not wait. A record that is not listed here (its
    // thread ended, or it belongs to another manager) is ignored.
    void StopThread(ManagedThread* thread, bool lowerPriority);
    // Tells every listed thread to stop; does not wait.
    void StopAll(bool lowerPriority);
    // Waits up to the given milliseconds (in 1 ms sleeps) for the thread
    // count to reach 0. True when it did; otherwise every thread still
    // running is logged by name and the answer is false. Use it after
    // StopAll before freeing what the threads use.
    bool WaitForThreads(std::uint32_t milliseconds);

    // Null when the primitive cannot be made (for the mutex: also for a type
    // pthread_mutexattr_settype refuses; every caller passes 0, the normal
    // non-recursive mutex). Handles stay valid until destroyed.
    pthread_mutex_t* CreateMutex(int type);
    pthread_rwlock_t* CreateReadWriteLock();
    pthread_cond_t* CreateCondition();
    // Null, or a handle not made by this manager, is ignored.
    void DestroyMutex(pthread_mutex_t* mutex);
    void DestroyReadWriteLock(pthread_rwlock_t* lock);
    // Wakes every waiter first.
    void DestroyCondition(pthread_cond_t* condition);

    // The wrappers need only the handle: false for null or when the thread
    // library reports an error (TryWriteLock: also when the lock is taken).
    static bool LockMutex(pthread_mutex_t* mutex);
    static bool UnlockMutex(pthread_mutex_t* mutex);
    static bool ReadLock(pthread_rwlock_t* lock);
    static bool WriteLock(pthread_rwlock_t* lock);
    static bool TryWriteLock(pthread_rwlock_t* lock);
    static bool UnlockReadWriteLock(pthread_rwlock_t* lock);
    // Wakes every waiter with all, else one.
    static bool SignalCondition(pthread_cond_t* condition, bool all);
    static bool WaitCondition(pthread_cond_t* condition, pthread_mutex_t* mutex);

    // Threads of this manager still running their functions. Once it reads
    // 0, every one of them has returned and freed its record; what remains of
    // such a thread touches nothing of the manager or of its callers.
    std::size_t GetThreadCount() const { return m_threadCount.load(std::memory_order_acquire); }
    std::size_t GetMutexCount() const;
    std::size_t GetReadWriteLockCount() const;
    std::size_t GetConditionCount() const;

private:
    static void* ThreadEntry(void* record);
    // Called by an ending thread: unlists and frees its record.
    static void Unregister(ManagedThread* thread);
    static void FreeRecord(ManagedThread* thread);
    // Sets the thread's stop flag, optionally dropping it to the lowest
    // priority level. Only for listed threads (under the registry lock): a
    // listed thread has not returned yet.
    static void TellToStop(ManagedThread* thread, bool lowerPriority);

    ManagedThread* StartThread(const pthread_attr_t& attributes, ManagedThread::Function init,
                               ManagedThread::Function run, void* argument, const char* name);
    void PublishThreadCount();
    // Hands every listed thread to the fallback manager.
    void HandThreadsToFallback();

    std::list<ManagedThread*> m_threads;
    // Read without the registry lock by the stop wait.
    std::atomic<std::size_t> m_threadCount{0};
    std::list<pthread_mutex_t> m_mutexes;
    std::list<pthread_rwlock_t> m_readWriteLocks;
    std::list<pthread_cond_t> m_conditions;
};

// The two managers that live as long as the process (they are never
// destroyed, so that a late thread or allocation never meets a destroyed
// one): the one that makes the Core memory mutex, and the one that adopts
// threads whose manager stopped waiting for them.
ThreadManager& GetProcessThreadManager();
ThreadManager& GetFallbackThreadManager();
