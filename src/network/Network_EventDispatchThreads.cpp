#include "network/Network_EventDispatcher.h"

#include "pal/PAL_MutexLock.h"

#include <memory>
#include <new>

// The threads of dispatch modes 1 and 2.
namespace Network {

namespace {

// What a mode-2 worker owns: its copy of the event, taken off the queue.
struct WorkerRecord {
    EventDispatcher* dispatcher;
    Tun_Event event;
};

}  // namespace

std::uint32_t EventDispatcher::RunDispatchThread(ManagedThread* thread) {
    auto* dispatcher = static_cast<EventDispatcher*>(thread->GetArgument());
    while (ManagedThread::ShouldRun(thread)) {
        Tun_Event event;
        if (dispatcher->TakeFront(event)) {
            dispatcher->Deliver(event);
        } else {
            SleepUnlessStopped(dispatcher->m_idleSleep, thread);
        }
    }
    dispatcher->DispatchThreadEnded();
    return 0;
}

std::uint32_t EventDispatcher::RunWorkerDispatchThread(ManagedThread* thread) {
    auto* dispatcher = static_cast<EventDispatcher*>(thread->GetArgument());
    while (ManagedThread::ShouldRun(thread)) {
        if (!dispatcher->StartWorker()) {
            SleepUnlessStopped(dispatcher->m_idleSleep, thread);
        }
    }
    dispatcher->DispatchThreadEnded();
    return 0;
}

bool EventDispatcher::StartWorker() {
    MutexLock lock(m_queueLock);
    if (m_activeWorkers >= m_workerLimit || m_queue.empty()) {
        return false;
    }
    // Started under the queue lock: the worker's end, which takes it, cannot
    // come before it was counted, and the front stays the one it copied.
    WorkerRecord* record = nullptr;
    try {
        record = new WorkerRecord{this, m_queue.front()};
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (m_threads.CreateThread(nullptr, &RunWorker, record, 0, false, "network worker") == nullptr) {
        delete record;
        return false;
    }
    ++m_activeWorkers;
    m_queuedMessageBytes -= m_queue.front().rawLength;
    m_queue.pop_front();
    return true;
}

std::uint32_t EventDispatcher::RunWorker(ManagedThread* thread) {
    std::unique_ptr<WorkerRecord> record(static_cast<WorkerRecord*>(thread->GetArgument()));
    EventDispatcher* const dispatcher = record->dispatcher;
    dispatcher->Deliver(record->event);
    record.reset();
    dispatcher->WorkerEnded();
    return 0;
}

void EventDispatcher::WorkerEnded() {
    MutexLock waitLock(m_waitLock);
    {
        MutexLock lock(m_queueLock);
        --m_activeWorkers;
    }
    ThreadManager::SignalCondition(m_threadEnded, true);
}

void EventDispatcher::DispatchThreadEnded() {
    MutexLock lock(m_waitLock);
    m_dispatchThreadRunning = false;
    ThreadManager::SignalCondition(m_threadEnded, true);
}

}  // namespace Network
