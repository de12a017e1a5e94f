#pragma once

#include <pthread.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

class ThreadManager;

// The record of one thread started by a ThreadManager. The thread frees its
// record itself when its functions return, so only the thread's own
// functions may rely on it; anybody else hands it back to the manager, which
// first checks that it is still listed.
class ManagedThread {
public:
    // Init and run functions get the record; their results are not used.
    using Function = std::uint32_t (*)(ManagedThread* thread);
    static constexpr std::size_t kNameSize = 32;

    ManagedThread(const ManagedThread&) = delete;
    ManagedThread& operator=(const ManagedThread&) = delete;

    // True while the thread has not been told to stop and has an owner;
    // otherwise the result becomes -1 and the answer is false (also for null).
    static bool ShouldRun(ManagedThread* thread);
    // The manager the thread unregisters from when it ends: its creator, or
    // the fallback manager once the creator gave up waiting for it.
    static ThreadManager* GetOwner(const ManagedThread* thread);

    void* GetArgument() const { return m_argument; }
    const char* GetName() const { return m_name; }
    // 0, or -1 once the thread noticed that it must stop.
    std::int32_t GetResult() const { return m_result.load(std::memory_order_relaxed); }

private:
    friend class ThreadManager;

    ManagedThread(Function init, Function run, void* argument, ThreadManager* owner, const char* name);
    ~ManagedThread() = default;

    // Written and read under the thread registry lock, so that it is set
    // before anybody can reach the record through the manager.
    pthread_t m_handle{};
    const Function m_init;
    const Function m_run;
    void* const m_argument;
    char m_name[kNameSize] = {};
    // Changed under the registry lock, read by the thread without it.
    std::atomic<ThreadManager*> m_owner;
    std::atomic<std::uint8_t> m_stop{0};
    std::atomic<std::int32_t> m_result{0};
};

// With a thread and a non-zero time: sleeps in 1 ms steps until the time has
// passed on the Core clock (true) or the thread was told to stop (false,
// result -1). Otherwise one plain sleep of the given time, where 0 yields;
// a thread already told to stop answers false without sleeping.
bool SleepUnlessStopped(std::uint32_t milliseconds, ManagedThread* thread);
