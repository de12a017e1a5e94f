#include "network/Network_Session.h"

#include "os/OS_Error.h"
#include "pal/PAL_MutexLock.h"

namespace Network {
namespace {

// The innermost ForwardScope of this thread, if any.
thread_local const Tun_Session::ForwardScope* t_forwarding = nullptr;

}  // namespace

Tun_Session::ForwardScope::ForwardScope(const Tun_Session& session, const Tun_Address& origin, OverShare overShare)
    : m_outer(t_forwarding), m_session(&session), m_origin(origin), m_overShare(overShare) {
    t_forwarding = this;
}

Tun_Session::ForwardScope::~ForwardScope() { t_forwarding = m_outer; }

void Tun_Session::DeliverPosted(Tun_Event* event) {
    // Counted off before the handler runs: it may close the session.
    if (event->kind == Tun_Event_Kind::MessageReceived && event->detail != nullptr) {
        const std::uint32_t length = event->rawLength;
        // The record may go once nothing waits on it.
        if (!event->detail->IsStream()) {
            event->session->m_queuedDatagramBytes.fetch_sub(length, std::memory_order_relaxed);
            event->session->m_datagramShares.Give(event->datagramSender, length);
        }
        const std::size_t left = event->detail->RemoveUndelivered(length);
        // A connection held back for what waited here is read again.
        if (left < kReadAheadLimit && left + length >= kReadAheadLimit) {
            event->session->WakeIoThread();
        }
    }
    DeliverEvent(event);
}

OutputSource Tun_Session::SourceOfSendTo(const Tun_Socket& connection) const {
    const ForwardScope* scope = t_forwarding;
    // What goes back to the origin itself is the origin's own business.
    if (scope == nullptr || scope->m_session != this || connection.remoteAddress.SameEndpoint(scope->m_origin)) {
        return kOwnOutput;
    }
    return ForwardedOutputSource(scope->m_origin);
}

bool Tun_Session::DropsForward(const Tun_Socket& connection, OutputSource source, std::size_t length) const {
    // Only what already waits there is weighed: a member that takes every
    // byte at once gets the forward whatever its size.
    return source != kOwnOutput && t_forwarding->m_overShare == ForwardScope::OverShare::Drop &&
           connection.HasOutput() && connection.GetOutputFrom(source) + length > kForwardedShare;
}

bool Tun_Session::SendMessage(std::int32_t id, std::uint32_t type, const void* payload, std::uint32_t length,
                              const Tun_Address& destination, std::uint32_t* bytesSent) {
    if (length > kMaxPayloadLength || (payload == nullptr && length > 0)) {
        return false;
    }
    Tun_Socket* socket = UseSocket(id);
    if (socket == nullptr) {
        return false;
    }
    const bool sent = (socket->serviceFlags.load() & kServiceQueuedSend) != 0
                          ? QueueSend(*socket, type, payload, length, destination)
                          : SendDirect(*socket, type, payload, length, destination, bytesSent);
    socket->RemoveUser();
    return sent;
}

bool Tun_Session::QueueSend(Tun_Socket& socket, std::uint32_t type, const void* payload, std::uint32_t length,
                            const Tun_Address& destination) {
    if (m_closing.load()) {
        return false;
    }
    RawMessage message = BuildMessage(type, payload, length);
    if (message.bytes == nullptr) {
        return false;
    }
    Tun_Event request(Tun_Event_Kind::SendRequest, this, socket.id, destination);
    request.AttachMessage(message);
    if (!ThreadManager::WriteLock(m_listLock)) {
        RawMessage unsent = request.DetachMessage();
        FreeMessage(unsent);
        return false;
    }
    m_sendRequests.push_back(request);
    ThreadManager::UnlockReadWriteLock(m_listLock);
    WakeIoThread();
    return true;
}

bool Tun_Session::SendDirect(Tun_Socket& socket, std::uint32_t type, const void* payload, std::uint32_t length,
                             const Tun_Address& destination, std::uint32_t* bytesSent) {
    const std::uint32_t total = length + kMessageHeaderSize;
    if (!socket.IsStream()) {
        ThreadManager::LockMutex(socket.GetSendLock());
        const bool built = socket.EnsureBuffer(Tun_Socket::kSendBuffer, total) &&
                           WriteMessage(socket.GetBuffer(Tun_Socket::kSendBuffer), type, payload, length);
        const std::int64_t sent = built ? os::SendDatagram(socket.handle, socket.GetBuffer(Tun_Socket::kSendBuffer),
                                                           total, destination.GetSocketAddress())
                                        : -1;
        ThreadManager::UnlockMutex(socket.GetSendLock());
        if (sent < 0) {
            return false;
        }
        if (bytesSent != nullptr) {
            *bytesSent = static_cast<std::uint32_t>(sent);
        }
        return true;
    }
    if (socket.connected.load(std::memory_order_acquire)) {
        return socket.remoteAddress.SameEndpoint(destination) && WriteOrKeep(socket, type, payload, length, bytesSent);
    }
    // A listening socket sends through its connection to the destination.
    if (!ThreadManager::ReadLock(m_listLock)) {
        return false;
    }
    Tun_Socket* connection = FindAccepted(socket.id, destination);
    if (connection != nullptr) {
        connection->AddUser();
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);
    if (connection == nullptr) {
        return false;
    }
    const bool sent = WriteOrKeep(*connection, type, payload, length, bytesSent, SourceOfSendTo(*connection));
    connection->RemoveUser();
    return sent;
}

bool Tun_Session::WriteOrKeep(Tun_Socket& connection, std::uint32_t type, const void* payload, std::uint32_t length,
                              std::uint32_t* bytesSent, OutputSource source) {
    const std::uint32_t total = length + kMessageHeaderSize;
    bool kept;
    {
        const MutexLock lock(connection.GetSendLock());
        if (DropsForward(connection, source, total) || !connection.EnsureBuffer(Tun_Socket::kSendBuffer, total)) {
            return false;
        }
        std::uint8_t* message = connection.GetBuffer(Tun_Socket::kSendBuffer);
        WriteMessage(message, type, payload, length);
        kept = WriteOrKeepLocked(connection, message, total, source);
    }
    if (!kept) {
        CloseBroken(connection);
        return false;
    }
    if (connection.HasOutput()) {
        WakeIoThread();
    }
    if (bytesSent != nullptr) {
        *bytesSent = total;
    }
    return true;
}

bool Tun_Session::WriteOrKeepLocked(Tun_Socket& connection, const std::uint8_t* message, std::size_t length,
                                    OutputSource source) {
    if (connection.HasOutput()) {
        return connection.AppendOutput(message, length, source);
    }
    std::int64_t sent = os::SendStream(connection.handle, message, length);
    if (sent < 0) {
        if (os::GetLastError() != os::kSocketWouldBlock) {
            return false;
        }
        sent = 0;
    }
    const auto taken = static_cast<std::size_t>(sent);
    return taken == length || connection.AppendOutput(message + taken, length - taken, source);
}

}  // namespace Network
