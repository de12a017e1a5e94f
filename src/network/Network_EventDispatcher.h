#pragma once

#include "network/Network_Event.h"
#include "pal/PAL_ManagedThread.h"
#include "pal/PAL_Stopwatch.h"
#include "pal/PAL_ThreadManager.h"

#include <pthread.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>

namespace Network {

// What became of a posted event.
enum class PostResult {
    // At the back of the queue, with its message; the poster's event is left
    // without one.
    Queued,
    // Dropped, its message freed: the dispatcher is not started or is
    // stopping, no posting thread was given, or the posting thread was told
    // to stop.
    Refused,
    // Not queued: its message would take the queued messages beyond
    // kQueuedMessageLimit. The event keeps its message: the poster drops a
    // datagram, and holds a stream's message to post it again once the
    // queue has room.
    Full,
};

// A session's event queue: filled by the session's I/O thread, drained by
// the handler either on the owner's thread in ProcessEvents (mode 0), on one
// dispatch thread (mode 1), or on one worker thread per event with a limit
// on the workers running at once (mode 2). Events reach the handler in
// posting order (in mode 2 their workers start in that order).
//
// The handler never runs under the queue lock: the front event is taken out
// under it and handed over after unlocking, one drainer at a time. So a
// handler may call back into a poster that holds its own lock while it
// posts. Budgets and the threads' idle sleeps measure on the Core clock.
class EventDispatcher {
public:
    // The handler owns the event's message from the call on (a session
    // installs DeliverEvent, which frees it unless the callback keeps it).
    // The event is never null.
    using Handler = std::function<void(Tun_Event* event)>;

    // The most message bytes (headers included) that may wait in the queue;
    // events without a message are not counted and never refused for it.
    static constexpr std::size_t kQueuedMessageLimit = std::size_t{8} << 20;

    EventDispatcher() = default;
    // Stops, then frees the messages of events still queued without handing
    // them to the handler.
    ~EventDispatcher();
    EventDispatcher(const EventDispatcher&) = delete;
    EventDispatcher& operator=(const EventDispatcher&) = delete;

    // Not threaded: mode 0. Threaded with worker limit 0: mode 1; above 0:
    // mode 2 with that many workers at most. The dispatch thread gets the
    // priority; idle sleep is how long a drainer that found the queue empty
    // sleeps before it looks again. False, with nothing left running, without
    // a handler, for a negative limit, when started before, or when a lock or
    // the dispatch thread cannot be made.
    bool Start(Handler handler, bool threaded, std::int32_t workerLimit, int priority,
               std::uint32_t idleSleepMilliseconds);

    // Called by the posting thread with its own record. See PostResult.
    PostResult PostEvent(Tun_Event& event, ManagedThread* postingThread);

    // Hands events to the handler on the calling thread until it finds the
    // queue empty once wait ms have passed, or max ms have passed (an event
    // being handled is finished first); both count from the call's start.
    // With wait 0 an empty queue returns at once. Processed: events handed
    // over by this call; remaining: events queued when it returns. False,
    // handing over nothing, before Start, while a dispatch thread runs, or
    // while another drainer (also this one, called from its own handler)
    // is at work. Once a dispatch thread has been stopped, the owner drains
    // what it left with this.
    bool ProcessEvents(std::uint32_t maxMilliseconds, std::uint32_t waitMilliseconds, std::size_t& processed,
                       std::size_t& remaining);

    // Modes 1 and 2: refuses further posts, stops the dispatch thread and
    // returns once it and every worker have ended (their thread count is 0).
    // Events still queued stay for ProcessEvents or the destructor. Mode 0:
    // nothing to do. False only when called from this dispatcher's handler,
    // which would wait for itself.
    bool Stop();

    // True on a thread that is running this dispatcher's handler: such a
    // caller must not wait for anything the queue's drainer has to deliver.
    bool IsHandlerThread() const;
    // Threads of this dispatcher still running (dispatch thread and workers).
    std::size_t GetThreadCount() const { return m_threads.GetThreadCount(); }

private:
    enum Mode : std::uint32_t { kOwnerDrains = 0, kDispatchThread = 1, kWorkerThreads = 2 };

    static std::uint32_t RunDispatchThread(ManagedThread* thread);
    static std::uint32_t RunWorkerDispatchThread(ManagedThread* thread);
    static std::uint32_t RunWorker(ManagedThread* thread);

    // Under the queue lock: Refused when memory is short.
    PostResult Append(const Tun_Event& event);
    // Takes the front event out under the queue lock; false when empty.
    bool TakeFront(Tun_Event& event);
    // Hands one event to the handler, marking this thread as its caller.
    void Deliver(Tun_Event& event);
    // Mode 2: starts a worker for the front event while fewer than the limit
    // run; false when none was started (the event then stays queued).
    bool StartWorker();
    void WorkerEnded();
    void DispatchThreadEnded();
    // The caller holds the wait lock.
    bool AllThreadsEnded();
    void DestroyLocks();

    // Destroyed last: it waits for the threads that use everything else.
    ThreadManager m_threads;
    Handler m_handler;
    Stopwatch m_stopwatch;
    std::uint32_t m_mode = kOwnerDrains;
    std::uint32_t m_idleSleep = 0;
    std::int32_t m_workerLimit = 0;

    // Guards the queue, its message bytes, stopping, the drainer flag and
    // the active workers.
    pthread_mutex_t* m_queueLock = nullptr;
    std::deque<Tun_Event> m_queue;
    std::size_t m_queuedMessageBytes = 0;
    bool m_stopping = false;
    bool m_draining = false;
    std::int32_t m_activeWorkers = 0;

    // Guards the running flag and pairs with the condition that the dispatch
    // thread and each worker signal when they end. Taken before the queue
    // lock, never after.
    pthread_mutex_t* m_waitLock = nullptr;
    pthread_cond_t* m_threadEnded = nullptr;
    bool m_dispatchThreadRunning = false;
};

}  // namespace Network
