#include "network/Network_Session.h"

#include "network/Network_IoThreadState.h"
#include "os/OS_Error.h"
#include "pal/PAL_MutexLock.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Network {
namespace {

// Set on an I/O thread to the session it serves.
thread_local const Tun_Session* t_servedSession = nullptr;

}  // namespace

bool Tun_Session::MayWaitHere() const { return t_servedSession != this && !m_dispatcher.IsHandlerThread(); }

std::uint32_t Tun_Session::IoThread(ManagedThread* thread) {
    auto* session = static_cast<Tun_Session*>(thread->GetArgument());
    t_servedSession = session;
    while (session->RunIoPass(thread)) {
    }
    t_servedSession = nullptr;
    session->ReportThreadEnded(session->m_ioEnded);
    return 0;
}

// One pass: carry out the requests and choose what to watch under the list
// lock, post what that gave after releasing it, then wait for a socket, a
// new request or the stop. Only a request that must be retried (a record
// still in use, a connect under way, events waiting for room in the queue)
// limits the wait.
bool Tun_Session::RunIoPass(ManagedThread* thread) {
    m_ioPasses.fetch_add(1, std::memory_order_relaxed);
    IoThreadState& io = *m_io;
    io.ClearWatches();
    if (!ThreadManager::WriteLock(m_listLock)) {
        return false;
    }
    if (!ManagedThread::ShouldRun(thread)) {
        ThreadManager::UnlockReadWriteLock(m_listLock);
        return false;
    }
    const std::optional<std::chrono::milliseconds> overdueIn = CloseOverdue();
    // A stream's held events go before anything read from it later, and
    // before its close.
    bool retry = PostHeld(thread);
    retry = ServeCloseRequests() || retry;
    retry = ServeConnectRequests() || retry;
    ServeSendRequests();
    WatchSockets();
    NoteConnectionPeers();
    ThreadManager::UnlockReadWriteLock(m_listLock);
    PostGathered(thread);

    std::int32_t waitLimit = retry ? static_cast<std::int32_t>(m_selectTimeout) : os::kPollNoTimeLimit;
    if (overdueIn.has_value() && (waitLimit == os::kPollNoTimeLimit || overdueIn->count() < waitLimit)) {
        waitLimit = static_cast<std::int32_t>(overdueIn->count());
    }
    if (io.Wait(waitLimit) > 0) {
        for (std::size_t index = 0; index < io.GetWatchCount(); ++index) {
            if (io.GetReady(index) != 0) {
                HandleReady(index);
            }
        }
        PostGathered(thread);
    }
    return true;
}

std::optional<std::chrono::milliseconds> Tun_Session::CloseOverdue() {
    const auto now = std::chrono::steady_clock::now();
    const std::chrono::milliseconds stalledLimit{m_stalledOutputLimit.load(std::memory_order_relaxed)};
    std::optional<std::chrono::milliseconds> due;
    const auto closeAtOrWait = [&](Tun_Socket& record, std::chrono::steady_clock::time_point deadline) {
        if (deadline <= now) {
            QueueClose(record, nullptr);
            return;
        }
        // Rounded up: a wait that ends early would only come back at once.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        due = due.has_value() ? std::min(*due, left) : left;
    };
    for (const std::unique_ptr<Tun_Socket>& record : m_accepted) {
        if (!record->closing && record->awaitingAdmission) {
            closeAtOrWait(*record, record->admitBy);
        }
        if (!record->closing && record->closeOnceSent && !record->HasOutput()) {
            QueueClose(*record, nullptr);
        }
        if (!record->closing && record->HasOutput()) {
            ThreadManager::LockMutex(record->GetSendLock());
            const auto movedAt = record->GetOutputMovedAt();
            ThreadManager::UnlockMutex(record->GetSendLock());
            closeAtOrWait(*record, movedAt + stalledLimit);
        }
    }
    return due;
}

bool Tun_Session::IsHeldBack(const Tun_Socket& connection) const {
    if (!connection.held.empty() || connection.closeOnceSent) {
        return true;
    }
    if (!connection.accepted) {
        return false;
    }
    if (connection.GetUndelivered() >= kReadAheadLimit) {
        return true;
    }
    const OutputSource source = ForwardedOutputSource(connection.remoteAddress);
    for (const std::unique_ptr<Tun_Socket>& member : m_accepted) {
        if (member.get() == &connection || member->closing || !member->HasOutput()) {
            continue;
        }
        const MutexLock lock(member->GetSendLock());
        if (member->GetOutputFrom(source) > kForwardedShare) {
            return true;
        }
    }
    return false;
}

bool Tun_Session::ServeCloseRequests() {
    std::erase_if(m_retired, [](const std::unique_ptr<Tun_Socket>& record) { return record->GetUndelivered() == 0; });
    bool retry = false;
    for (auto request = m_closeRequests.begin(); request != m_closeRequests.end();) {
        Tun_Socket* record = request->detail;
        if (record->GetUserCount() > 0) {
            retry = true;
            ++request;
            continue;
        }
        // A connect waiting for this record fails with it.
        for (auto connect = m_connectRequests.begin(); connect != m_connectRequests.end();) {
            if (connect->detail == record) {
                Gather(Tun_Event_Kind::ConnectCompleted, *connect, true);
                connect = m_connectRequests.erase(connect);
            } else {
                ++connect;
            }
        }
        if (record->handle != os::kInvalidSocket) {
            os::CloseSocket(record->handle);
        }
        record->DestroyLocks(m_threads);
        Tun_Event closed =
            MakeEvent(record->accepted ? Tun_Event_Kind::AcceptedConnectionClosed : Tun_Event_Kind::SocketClosed,
                      record->id, record->remoteAddress);
        Records& records = record->accepted ? m_accepted : m_sockets;
        const auto listed = std::find_if(records.begin(), records.end(), [record](const std::unique_ptr<Tun_Socket>& each) {
            return each.get() == record;
        });
        // Events still waiting name the record: it goes once they are handled.
        if (record->GetUndelivered() > 0) {
            m_retired.push_back(std::move(*listed));
        }
        records.erase(listed);
        if (request->completion != nullptr) {
            request->completion->Signal();
        }
        m_io->gathered.push_back(closed);
        request = m_closeRequests.erase(request);
    }
    return retry;
}

bool Tun_Session::ServeConnectRequests() {
    bool underWay = false;
    for (auto request = m_connectRequests.begin(); request != m_connectRequests.end();) {
        Tun_Socket& record = *request->detail;
        if (record.closing) {
            // Fails once the close is carried out.
            ++request;
            continue;
        }
        if (!record.connectPending) {
            if (os::StartConnect(record.handle, request->address.GetSocketAddress())) {
                record.remoteAddress = request->address;
                record.connected.store(true, std::memory_order_release);
                Gather(Tun_Event_Kind::ConnectCompleted, *request, false);
                request = m_connectRequests.erase(request);
                continue;
            }
            if (os::GetLastError() != os::kSocketWouldBlock) {
                Gather(Tun_Event_Kind::ConnectCompleted, *request, true);
                request = m_connectRequests.erase(request);
                continue;
            }
            record.connectPending = true;
        }
        m_io->AddWatch(record, IoThreadState::Purpose::Connect);
        underWay = true;
        ++request;
    }
    return underWay;
}

void Tun_Session::ServeSendRequests() {
    for (auto request = m_sendRequests.begin(); request != m_sendRequests.end();) {
        request->detail = nullptr;
        const Tun_Socket* socket = FindSocket(request->socketId);
        if (socket != nullptr && socket->connectPending) {
            // Its connect decides where it may go.
            ++request;
            continue;
        }
        Tun_Socket* target = socket != nullptr ? SendTarget(request->socketId, request->address) : nullptr;
        if (target == nullptr) {
            Gather(Tun_Event_Kind::QueuedSendCompleted, *request, true);
            RawMessage message = request->DetachMessage();
            FreeMessage(message);
            request = m_sendRequests.erase(request);
            continue;
        }
        request->detail = target;
        if (!m_io->IsWatched(*target, IoThreadState::Purpose::QueuedSend)) {
            m_io->AddWatch(*target, IoThreadState::Purpose::QueuedSend);
        }
        ++request;
    }
}

Tun_Socket* Tun_Session::SendTarget(std::int32_t id, const Tun_Address& destination) const {
    Tun_Socket* socket = FindSocket(id);
    if (!socket->IsStream()) {
        return socket;
    }
    if (socket->connected.load()) {
        return socket->remoteAddress.SameEndpoint(destination) ? socket : nullptr;
    }
    return FindAccepted(id, destination);
}

void Tun_Session::WatchSockets() {
    const auto watch = [this](Records& records) {
        for (const std::unique_ptr<Tun_Socket>& record : records) {
            if (record->closing) {
                continue;
            }
            // A stream is read once connected or listening; an idle stream
            // shows a hang-up that would end every wait at once. A listener
            // with every place taken leaves new connections waiting in its
            // backlog until one closes.
            const bool accepts = record->IsStream() && !record->connected.load() &&
                                 m_accepted.size() < kMaxAcceptedConnections &&
                                 os::IsListeningSocket(record->handle);
            // A peer is not read while too much of what it sent waits: to
            // be handled here, or as forwards at a slower member.
            if ((record->serviceFlags.load() & kServiceByIoThread) != 0 &&
                (!record->IsStream() || record->connected.load() || accepts) && !IsHeldBack(*record)) {
                m_io->AddWatch(*record, IoThreadState::Purpose::Read);
            }
            if (record->HasOutput()) {
                m_io->AddWatch(*record, IoThreadState::Purpose::Output);
            }
        }
    };
    watch(m_sockets);
    watch(m_accepted);
}

void Tun_Session::HandleReady(std::size_t watchIndex) {
    const IoThreadState::Watch& watch = m_io->GetWatch(watchIndex);
    Tun_Socket& record = *watch.record;
    switch (watch.purpose) {
        case IoThreadState::Purpose::Read:
            if (!record.IsStream()) {
                ReadDatagrams(record);
            } else if (record.connected.load()) {
                ReadStream(record);
            } else {
                AcceptConnection(record);
            }
            break;
        case IoThreadState::Purpose::Connect:
            FinishConnecting(record);
            break;
        case IoThreadState::Purpose::QueuedSend:
            SendQueued(record);
            break;
        case IoThreadState::Purpose::Output:
            WriteOutput(record);
            break;
    }
}

void Tun_Session::AcceptConnection(Tun_Socket& listener) {
    os::SocketAddress peer{};
    const os::SocketHandle handle = os::AcceptSocket(listener.handle, &peer, listener.IsNonBlocking());
    Tun_Event accepted = MakeEvent(Tun_Event_Kind::ConnectionAccepted, listener.id, Tun_Address());
    if (handle != os::kInvalidSocket) {
        accepted.address = Tun_Address::FromSocketAddress(peer);
        auto record = std::make_unique<Tun_Socket>();
        record->handle = handle;
        record->type = listener.type;
        record->id = listener.id;
        record->serviceFlags.store(listener.serviceFlags.load());
        record->optionFlags = listener.optionFlags;
        record->remoteAddress = accepted.address;
        record->accepted = true;
        record->connected.store(true);
        ThreadManager::WriteLock(m_listLock);
        record->awaitingAdmission = listener.admissionLimit.count() > 0;
        if (record->awaitingAdmission) {
            record->messageLengthLimit.store(kMaxUnadmittedMessageLength, std::memory_order_relaxed);
        }
        record->joinRequestCheck = listener.joinRequestCheck;
        record->admitBy = std::chrono::steady_clock::now() + listener.admissionLimit;
        // GetLocalAddress may be refreshing it.
        record->localAddress = listener.localAddress;
        if (m_accepted.size() < kMaxAcceptedConnections && record->CreateLocks(m_threads)) {
            accepted.detail = record.get();
            m_accepted.push_back(std::move(record));
        }
        ThreadManager::UnlockReadWriteLock(m_listLock);
        if (accepted.detail == nullptr) {
            os::CloseSocket(handle);
        }
    }
    accepted.failed = accepted.detail == nullptr ? 1 : 0;
    m_io->gathered.push_back(accepted);
}

void Tun_Session::ReadStream(Tun_Socket& connection) {
    std::vector<RawMessage>& messages = m_io->messages;
    messages.clear();
    StreamState::Outcome outcome;
    {
        const MutexLock lock(connection.GetReceiveLock());
        const std::size_t limit = connection.accepted ? kReadAheadLimit : std::numeric_limits<std::size_t>::max();
        outcome = connection.stream.Receive(connection.handle, messages, limit,
                                            connection.messageLengthLimit.load(std::memory_order_acquire));
    }
    NoteJoinRequests(connection, messages);
    for (const RawMessage& message : messages) {
        Tun_Event event = MakeEvent(Tun_Event_Kind::MessageReceived, connection.id, connection.remoteAddress);
        event.detail = &connection;
        event.AttachMessage(message);
        m_io->gathered.push_back(event);
    }
    // What it sent before it ended is handled before it closes.
    if (outcome == StreamState::Outcome::Closed) {
        connection.ended = true;
    }
}

void Tun_Session::NoteJoinRequests(Tun_Socket& connection, const std::vector<RawMessage>& messages) {
    // Only this thread sets and clears the check: once a join request came,
    // later reads of the connection look for none and take no lock for it.
    const JoinRequestCheck check = connection.joinRequestCheck;
    if (check == nullptr || std::none_of(messages.begin(), messages.end(), [check](const RawMessage& message) {
            return check(message.bytes, message.length);
        })) {
        return;
    }
    connection.joinRequestCheck = nullptr;
    if (ThreadManager::WriteLock(m_listLock)) {
        connection.awaitingAdmission = false;
        ThreadManager::UnlockReadWriteLock(m_listLock);
    }
}

void Tun_Session::ReadDatagrams(Tun_Socket& socket) {
    for (std::size_t count = 0; count < kDatagramsPerRead && ReadDatagram(socket); ++count) {
    }
}

bool Tun_Session::ReadDatagram(Tun_Socket& socket) {
    os::SocketAddress source{};
    RawMessage message;
    std::int64_t read = -1;
    ThreadManager::LockMutex(socket.GetReceiveLock());
    if (socket.EnsureBuffer(Tun_Socket::kReceiveBuffer, os::kMaxDatagramSize)) {
        std::uint8_t* buffer = socket.GetBuffer(Tun_Socket::kReceiveBuffer);
        read = os::ReceiveDatagram(socket.handle, buffer, os::kMaxDatagramSize, &source);
        // Empty, short and failed reads are dropped: a datagram socket never
        // closes because of what arrives.
        const std::uint32_t length = read >= 0 ? DatagramMessageLength(buffer, static_cast<std::size_t>(read)) : 0;
        message = length > 0 ? AllocateMessage(length) : RawMessage{};
        if (message.bytes != nullptr) {
            std::memcpy(message.bytes, buffer, length);
        }
    }
    ThreadManager::UnlockMutex(socket.GetReceiveLock());
    if (message.bytes != nullptr) {
        Tun_Event event = MakeEvent(Tun_Event_Kind::MessageReceived, socket.id, Tun_Address::FromSocketAddress(source));
        event.detail = &socket;
        event.AttachMessage(message);
        m_io->gathered.push_back(event);
    }
    return read >= 0;
}

void Tun_Session::FinishConnecting(Tun_Socket& record) {
    const bool connected = os::FinishConnect(record.handle);
    Tun_Event completed = MakeEvent(Tun_Event_Kind::ConnectCompleted, record.id, record.remoteAddress);
    ThreadManager::WriteLock(m_listLock);
    record.connectPending = false;
    for (auto request = m_connectRequests.begin(); request != m_connectRequests.end();) {
        if (request->detail == &record) {
            completed.address = request->address;
            request = m_connectRequests.erase(request);
        } else {
            ++request;
        }
    }
    if (connected) {
        record.remoteAddress = completed.address;
        record.connected.store(true, std::memory_order_release);
        completed.detail = &record;
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    completed.failed = connected ? 0 : 1;
    m_io->gathered.push_back(completed);
}

void Tun_Session::SendQueued(Tun_Socket& target) {
    ThreadManager::WriteLock(m_listLock);
    Tun_Event request;
    const auto found = std::find_if(m_sendRequests.begin(), m_sendRequests.end(),
                                    [&target](const Tun_Event& queued) { return queued.detail == &target; });
    const bool any = found != m_sendRequests.end();
    if (any) {
        request = *found;
        m_sendRequests.erase(found);
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    if (!any) {
        return;
    }
    RawMessage message = request.DetachMessage();
    bool sent = false;
    bool broken = false;
    ThreadManager::LockMutex(target.GetSendLock());
    if (!target.IsStream()) {
        sent = os::SendDatagram(target.handle, message.bytes, message.length, request.address.GetSocketAddress()) >= 0;
    } else if (target.connected.load() && target.remoteAddress.SameEndpoint(request.address)) {
        sent = WriteOrKeepLocked(target, message.bytes, message.length);
        broken = !sent;
    }
    ThreadManager::UnlockMutex(target.GetSendLock());
    FreeMessage(message);
    if (broken) {
        CloseBroken(target);
    }
    Gather(Tun_Event_Kind::QueuedSendCompleted, request, !sent);
}

void Tun_Session::WriteOutput(Tun_Socket& connection) {
    bool broken = false;
    ThreadManager::LockMutex(connection.GetSendLock());
    if (connection.HasOutput()) {
        const std::int64_t written =
            os::SendStream(connection.handle, connection.GetOutput(), connection.GetOutputSize());
        if (written >= 0) {
            connection.ConsumeOutput(static_cast<std::size_t>(written));
        } else {
            broken = os::GetLastError() != os::kSocketWouldBlock;
        }
    }
    ThreadManager::UnlockMutex(connection.GetSendLock());
    if (broken) {
        CloseBroken(connection);
    }
}

void Tun_Session::Gather(Tun_Event_Kind kind, const Tun_Event& request, bool failed) {
    Tun_Event event = MakeEvent(kind, request.socketId, request.address);
    if (kind == Tun_Event_Kind::ConnectCompleted && !failed) {
        event.detail = request.detail;
    }
    event.failed = failed ? 1 : 0;
    m_io->gathered.push_back(event);
}

}  // namespace Network
