#include "network/Network_Session.h"

#include "network/Network_IoThreadState.h"
#include "network/Network_LocalHost.h"
#include "pal/PAL_MutexLock.h"

#include <limits>
#include <utility>

TUN_DEFINE_UNCLONABLE_CLASS(Network::Tun_Session)

namespace Network {

Tun_Session::Tun_Session() = default;

Tun_Session::~Tun_Session() { Close(); }

bool Tun_Session::Open(const Core::String& /*name*/, const Core::String& text, std::uint8_t openFlag,
                       Tun_PacketHandler handler, std::int32_t priority, std::uint8_t threaded,
                       std::int32_t workerLimit, std::uint32_t idleSleepMilliseconds,
                       std::uint32_t selectTimeoutMilliseconds) {
    if (m_open) {
        return false;
    }
    const LocalHost localHost = ResolveLocalHost();
    auto io = std::make_unique<IoThreadState>();
    if (!io->IsValid() ||
        !m_dispatcher.Start(&DeliverPosted, threaded != 0, workerLimit, priority, idleSleepMilliseconds)) {
        return false;
    }
    if (!CreateLocks()) {
        m_dispatcher.Stop();
        return false;
    }
    m_localAddress.Set(localHost.text.c_str(), 0);
    m_localIpText = localHost.text;
    // The I/O thread makes events from these from its first pass on.
    m_handler = handler;
    m_text = text;
    m_selectTimeout = selectTimeoutMilliseconds;
    m_openFlag = openFlag;
    m_io = std::move(io);
    m_closing.store(false);
    m_ioEnded = false;
    m_ioThread = m_threads.CreateThread(nullptr, &IoThread, this, priority, true, "network I/O");
    if (m_ioThread == nullptr) {
        m_io.reset();
        DestroyLocks();
        m_dispatcher.Stop();
        return false;
    }
    m_open = true;
    Tun_Event opened = MakeEvent(Tun_Event_Kind::SessionOpened, -1, Tun_Address());
    DeliverEvent(&opened);
    return true;
}

bool Tun_Session::Close() {
    if (!m_open) {
        return false;
    }
    m_open = false;
    m_closing.store(true);
    StopBroadcastThread();
    StopIoThread();
    m_dispatcher.Stop();
    std::size_t processed = 0;
    std::size_t remaining = 0;
    while (m_dispatcher.ProcessEvents(std::numeric_limits<std::uint32_t>::max(), 0, processed, remaining) &&
           remaining > 0) {
    }
    CloseEveryRecord();
    DestroyLocks();
    m_io.reset();
    Tun_Event closed = MakeEvent(Tun_Event_Kind::SessionClosed, -1, Tun_Address());
    DeliverEvent(&closed);
    return true;
}

void Tun_Session::ProcessEvents(std::uint32_t maxMilliseconds, std::uint32_t waitMilliseconds, std::uint32_t* processed,
                                std::uint32_t* remaining) {
    std::size_t handed = 0;
    std::size_t left = 0;
    m_dispatcher.ProcessEvents(maxMilliseconds, waitMilliseconds, handed, left);
    if (processed != nullptr) {
        *processed = static_cast<std::uint32_t>(handed);
    }
    if (remaining != nullptr) {
        *remaining = static_cast<std::uint32_t>(left);
    }
}

std::size_t Tun_Session::GetThreadCount() const { return m_threads.GetThreadCount() + m_dispatcher.GetThreadCount(); }

bool Tun_Session::CreateLocks() {
    m_listLock = m_threads.CreateReadWriteLock();
    m_exitMutex = m_threads.CreateMutex(0);
    m_exitCondition = m_threads.CreateCondition();
    if (m_listLock == nullptr || m_exitMutex == nullptr || m_exitCondition == nullptr) {
        DestroyLocks();
        return false;
    }
    return true;
}

void Tun_Session::DestroyLocks() {
    m_threads.DestroyReadWriteLock(m_listLock);
    m_threads.DestroyMutex(m_exitMutex);
    m_threads.DestroyCondition(m_exitCondition);
    m_listLock = nullptr;
    m_exitMutex = nullptr;
    m_exitCondition = nullptr;
}

void Tun_Session::ReportThreadEnded(bool& ended) {
    const MutexLock lock(m_exitMutex);
    ended = true;
    ThreadManager::SignalCondition(m_exitCondition, true);
}

void Tun_Session::StopBroadcastThread() {
    if (m_broadcastThread != nullptr) {
        // Held from the stop request until the wait: the thread cannot end
        // unseen, and the flag, tested in a loop, outlasts spurious wake-ups.
        ThreadManager::LockMutex(m_exitMutex);
        m_threads.StopThread(m_broadcastThread, false);
        while (!m_broadcastEnded && ThreadManager::WaitCondition(m_exitCondition, m_exitMutex)) {
        }
        ThreadManager::UnlockMutex(m_exitMutex);
        m_broadcastThread = nullptr;
        m_broadcastEnded = false;
    }
    m_broadcastData.Reset();
}

void Tun_Session::StopIoThread() {
    ThreadManager::LockMutex(m_exitMutex);
    m_threads.StopThread(m_ioThread, false);
    m_io->Wake();
    while (!m_ioEnded && ThreadManager::WaitCondition(m_exitCondition, m_exitMutex)) {
    }
    ThreadManager::UnlockMutex(m_exitMutex);
    m_ioThread = nullptr;
    // After its report a thread only leaves its functions and unregisters.
    m_threads.WaitForThreads(ThreadManager::kStopWaitLimit);
}

void Tun_Session::CloseEveryRecord() {
    Records sockets;
    Records accepted;
    std::deque<Tun_Event> closes;
    std::deque<Tun_Event> sends;
    ThreadManager::WriteLock(m_listLock);
    sockets.swap(m_sockets);
    accepted.swap(m_accepted);
    m_retired.clear();
    closes.swap(m_closeRequests);
    sends.swap(m_sendRequests);
    m_connectRequests.clear();
    ThreadManager::UnlockReadWriteLock(m_listLock);

    for (Tun_Event& request : closes) {
        if (request.completion != nullptr) {
            request.completion->Signal();
        }
    }
    for (Tun_Event& request : sends) {
        RawMessage message = request.DetachMessage();
        FreeMessage(message);
    }
    // The handlers that see these events may no longer open anything: the
    // records are out of the lists, and m_closing refuses new ones.
    const auto closeAll = [this](Records& records, Tun_Event_Kind kind) {
        for (std::unique_ptr<Tun_Socket>& record : records) {
            if (record->handle != os::kInvalidSocket) {
                os::CloseSocket(record->handle);
            }
            record->DestroyLocks(m_threads);
            Tun_Event closed = MakeEvent(kind, record->id, record->remoteAddress);
            record.reset();
            DeliverEvent(&closed);
        }
    };
    closeAll(sockets, Tun_Event_Kind::SocketClosed);
    closeAll(accepted, Tun_Event_Kind::AcceptedConnectionClosed);
}

Tun_Event Tun_Session::MakeEvent(Tun_Event_Kind kind, std::int32_t id, const Tun_Address& address) {
    Tun_Event event(kind, this, id, address);
    event.callback = m_handler;
    return event;
}

}  // namespace Network
