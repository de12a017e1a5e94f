#include "network/Network_EventDispatcher.h"

#include "pal/PAL_MutexLock.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace Network {

namespace {

// The dispatcher whose handler the current thread runs, if any; restored on
// return, so a handler may drain another session's queue.
thread_local const EventDispatcher* t_handlerOf = nullptr;

void Restart(Stopwatch& stopwatch) {
    stopwatch.Reset();
    stopwatch.Start();
}

}  // namespace

EventDispatcher::~EventDispatcher() {
    Stop();
    for (Tun_Event& event : m_queue) {
        RawMessage message = event.DetachMessage();
        FreeMessage(message);
    }
}

bool EventDispatcher::Start(Handler handler, bool threaded, std::int32_t workerLimit, int priority,
                            std::uint32_t idleSleepMilliseconds) {
    if (!handler || workerLimit < 0 || m_queueLock != nullptr) {
        return false;
    }
    m_queueLock = m_threads.CreateMutex(0);
    m_waitLock = m_threads.CreateMutex(0);
    m_threadEnded = m_threads.CreateCondition();
    if (m_queueLock == nullptr || m_waitLock == nullptr || m_threadEnded == nullptr) {
        DestroyLocks();
        return false;
    }
    m_handler = std::move(handler);
    m_idleSleep = idleSleepMilliseconds;
    if (!threaded) {
        m_mode = kOwnerDrains;
        return true;
    }
    m_mode = workerLimit == 0 ? kDispatchThread : kWorkerThreads;
    m_workerLimit = workerLimit;
    m_dispatchThreadRunning = true;
    const ManagedThread::Function run = m_mode == kDispatchThread ? &RunDispatchThread : &RunWorkerDispatchThread;
    if (m_threads.CreateThread(nullptr, run, this, priority, false, "network dispatch") == nullptr) {
        m_dispatchThreadRunning = false;
        m_mode = kOwnerDrains;
        m_workerLimit = 0;
        m_handler = nullptr;
        DestroyLocks();
        return false;
    }
    return true;
}

void EventDispatcher::DestroyLocks() {
    m_threads.DestroyMutex(m_queueLock);
    m_threads.DestroyMutex(m_waitLock);
    m_threads.DestroyCondition(m_threadEnded);
    m_queueLock = nullptr;
    m_waitLock = nullptr;
    m_threadEnded = nullptr;
}

PostResult EventDispatcher::PostEvent(Tun_Event& event, ManagedThread* postingThread) {
    PostResult result = PostResult::Refused;
    if (m_queueLock != nullptr && postingThread != nullptr && ManagedThread::ShouldRun(postingThread)) {
        MutexLock lock(m_queueLock);
        if (!m_stopping) {
            result = m_queuedMessageBytes + event.rawLength > kQueuedMessageLimit ? PostResult::Full : Append(event);
        }
    }
    if (result != PostResult::Full) {
        RawMessage message = event.DetachMessage();
        if (result == PostResult::Refused) {
            FreeMessage(message);
        }
    }
    return result;
}

PostResult EventDispatcher::Append(const Tun_Event& event) {
    try {
        m_queue.push_back(event);
    } catch (const std::bad_alloc&) {
        return PostResult::Refused;
    }
    m_queuedMessageBytes += event.rawLength;
    return PostResult::Queued;
}

bool EventDispatcher::TakeFront(Tun_Event& event) {
    MutexLock lock(m_queueLock);
    if (m_queue.empty()) {
        return false;
    }
    event = std::move(m_queue.front());
    m_queue.pop_front();
    m_queuedMessageBytes -= event.rawLength;
    return true;
}

void EventDispatcher::Deliver(Tun_Event& event) {
    const EventDispatcher* const outer = t_handlerOf;
    t_handlerOf = this;
    m_handler(&event);
    t_handlerOf = outer;
}

bool EventDispatcher::IsHandlerThread() const { return t_handlerOf == this; }

bool EventDispatcher::ProcessEvents(std::uint32_t maxMilliseconds, std::uint32_t waitMilliseconds,
                                    std::size_t& processed, std::size_t& remaining) {
    processed = 0;
    remaining = 0;
    if (m_queueLock == nullptr) {
        return false;
    }
    {
        MutexLock waitLock(m_waitLock);
        MutexLock lock(m_queueLock);
        remaining = m_queue.size();
        if (m_dispatchThreadRunning || m_draining) {
            return false;
        }
        m_draining = true;
    }
    Restart(m_stopwatch);
    // Sleeps of a coarse clock overshoot: the excess is made up by yielding
    // instead of sleeping until the local stopwatch has passed it.
    Stopwatch idle;
    Restart(idle);
    double oversleep = 0.0;
    while (m_stopwatch.GetElapsed() < maxMilliseconds) {
        Tun_Event event;
        if (TakeFront(event)) {
            Deliver(event);
            ++processed;
            continue;
        }
        const double elapsed = m_stopwatch.GetElapsed();
        if (elapsed >= waitMilliseconds) {
            break;
        }
        if (idle.GetElapsed() > oversleep) {
            // Never past the wait budget.
            const auto budget = static_cast<std::uint32_t>(std::ceil(waitMilliseconds - elapsed));
            const std::uint32_t asked = std::min(m_idleSleep, budget);
            Restart(idle);
            SleepUnlessStopped(asked, nullptr);
            oversleep = idle.GetElapsed() - asked;
            Restart(idle);
        } else {
            SleepUnlessStopped(0, nullptr);
        }
    }
    MutexLock lock(m_queueLock);
    m_draining = false;
    remaining = m_queue.size();
    return true;
}

bool EventDispatcher::Stop() {
    if (IsHandlerThread()) {
        return false;
    }
    if (m_queueLock == nullptr || m_mode == kOwnerDrains) {
        return true;
    }
    {
        MutexLock lock(m_queueLock);
        m_stopping = true;
    }
    m_threads.StopAll(false);
    {
        MutexLock lock(m_waitLock);
        while (!AllThreadsEnded() && ThreadManager::WaitCondition(m_threadEnded, m_waitLock)) {
        }
    }
    // The ended threads may still be returning from their last unlock; once
    // the count reads 0 nothing of theirs touches this dispatcher.
    m_threads.WaitForThreads(ThreadManager::kStopWaitLimit);
    return true;
}

bool EventDispatcher::AllThreadsEnded() {
    MutexLock lock(m_queueLock);
    return !m_dispatchThreadRunning && m_activeWorkers == 0;
}

}  // namespace Network
