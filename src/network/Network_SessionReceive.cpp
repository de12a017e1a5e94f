#include "network/Network_Session.h"

#include "os/OS_Error.h"
#include "os/OS_SocketPoll.h"
#include "pal/PAL_Stopwatch.h"

#include <algorithm>
#include <cstring>

namespace Network {
namespace {

// What is left of a wait limit, on the Core clock.
std::int32_t TimeLeft(const Stopwatch& stopwatch, std::uint32_t limit) {
    const double left = static_cast<double>(limit) - stopwatch.GetElapsed();
    return left > 0.0 ? static_cast<std::int32_t>(std::min(left, 2147483647.0)) : 0;
}

// Reads exactly count bytes from a stream, waiting for each part until the
// limit has passed. False when the peer closed, the socket failed or the
// time ran out.
bool ReadExactly(os::SocketHandle handle, std::uint8_t* bytes, std::size_t count, const Stopwatch& stopwatch,
                 std::uint32_t limit) {
    while (count > 0) {
        const std::int64_t read = os::ReceiveStream(handle, bytes, count);
        if (read > 0) {
            bytes += read;
            count -= static_cast<std::size_t>(read);
        } else if (read == 0 || os::GetLastError() != os::kSocketWouldBlock ||
                   !os::WaitForSocket(handle, os::kPollReadable, TimeLeft(stopwatch, limit))) {
            return false;
        }
    }
    return true;
}

void AppendMessageEvent(Tun_EventList& events, Tun_Event event, const RawMessage& message) {
    event.AttachMessage(message);
    events.push_back(event);
}

}  // namespace

bool Tun_Session::ReceiveMessages(std::int32_t id, Tun_EventList& events, std::uint32_t waitLimitMilliseconds) {
    Tun_Socket* socket = UseSocket(id);
    if (socket == nullptr) {
        return false;
    }
    bool received = false;
    if ((socket->serviceFlags.load() & kServiceByIoThread) == 0) {
        if (!socket->IsStream()) {
            received = ReceiveDatagrams(*socket, events, waitLimitMilliseconds);
        } else if (socket->connected.load(std::memory_order_acquire)) {
            received = ReceiveFromStream(*socket, events, waitLimitMilliseconds);
        } else {
            received = ReceiveFromListener(*socket, events, waitLimitMilliseconds);
        }
    }
    socket->RemoveUser();
    return received;
}

bool Tun_Session::ReceiveFromStream(Tun_Socket& connection, Tun_EventList& events, std::uint32_t waitLimit) {
    Stopwatch stopwatch;
    stopwatch.Start();
    ThreadManager::LockMutex(connection.GetReceiveLock());
    std::int64_t available = os::PendingBytes(connection.handle);
    if (available == 0 && !connection.IsNonBlocking() &&
        os::WaitForSocket(connection.handle, os::kPollReadable, TimeLeft(stopwatch, waitLimit))) {
        // Readable with nothing to read: the peer closed.
        available = os::PendingBytes(connection.handle);
    }
    std::int64_t read = -1;
    if (available > 0 && connection.EnsureBuffer(Tun_Socket::kReceiveBuffer, static_cast<std::size_t>(available))) {
        read = os::ReceiveStream(connection.handle, connection.GetBuffer(Tun_Socket::kReceiveBuffer),
                                 static_cast<std::size_t>(available));
    }
    bool whole = true;
    if (read > 0) {
        whole = CutMessages(connection, static_cast<std::size_t>(read), events, stopwatch, waitLimit);
    }
    ThreadManager::UnlockMutex(connection.GetReceiveLock());
    if (!whole) {
        CloseBroken(connection);
    }
    return read > 0 && whole;
}

bool Tun_Session::CutMessages(Tun_Socket& connection, std::size_t read, Tun_EventList& events,
                              const Stopwatch& stopwatch, std::uint32_t waitLimit) {
    const std::uint8_t* bytes = connection.GetBuffer(Tun_Socket::kReceiveBuffer);
    const Tun_Event received = MakeEvent(Tun_Event_Kind::MessageReceived, connection.id, connection.remoteAddress);
    std::size_t position = 0;
    while (position < read) {
        std::uint8_t header[kMessageHeaderSize];
        const std::size_t headerPresent = std::min<std::size_t>(kMessageHeaderSize, read - position);
        std::memcpy(header, bytes + position, headerPresent);
        if (headerPresent < kMessageHeaderSize &&
            !ReadExactly(connection.handle, header + headerPresent, kMessageHeaderSize - headerPresent, stopwatch,
                         waitLimit)) {
            return false;
        }
        RawMessage message = AllocateMessage(ReadMessageHeader(header).totalLength);
        if (message.bytes == nullptr) {
            return false;
        }
        const std::size_t present = std::min<std::size_t>(message.length, read - position);
        std::memcpy(message.bytes, header, kMessageHeaderSize);
        if (present > kMessageHeaderSize) {
            std::memcpy(message.bytes + kMessageHeaderSize, bytes + position + kMessageHeaderSize,
                        present - kMessageHeaderSize);
        }
        const std::size_t have = std::max<std::size_t>(present, kMessageHeaderSize);
        if (have < message.length &&
            !ReadExactly(connection.handle, message.bytes + have, message.length - have, stopwatch, waitLimit)) {
            FreeMessage(message);
            return false;
        }
        Tun_Event event = received;
        event.detail = &connection;
        AppendMessageEvent(events, event, message);
        position += message.length;
    }
    return true;
}

bool Tun_Session::ReceiveFromListener(Tun_Socket& listener, Tun_EventList& events, std::uint32_t waitLimit) {
    std::vector<Tun_Socket*> connections;
    if (!ThreadManager::ReadLock(m_listLock)) {
        return false;
    }
    for (const std::unique_ptr<Tun_Socket>& record : m_accepted) {
        if (record->id == listener.id && !record->closing) {
            record->AddUser();
            connections.push_back(record.get());
        }
    }
    ThreadManager::UnlockReadWriteLock(m_listLock);

    Stopwatch stopwatch;
    stopwatch.Start();
    bool anyData = false;
    bool failed = false;
    const auto visit = [&]() {
        for (Tun_Socket* connection : connections) {
            if (!failed && os::PendingBytes(connection->handle) > 0) {
                anyData = true;
                failed = !ReceiveFromStream(*connection, events, TimeLeft(stopwatch, waitLimit));
            }
        }
    };
    visit();
    if (!anyData && !failed && !listener.IsNonBlocking() && !connections.empty()) {
        std::vector<os::PollEntry> entries(connections.size());
        for (std::size_t index = 0; index < connections.size(); ++index) {
            entries[index].handle = connections[index]->handle;
            entries[index].wanted = os::kPollReadable;
        }
        if (os::PollSockets(entries.data(), entries.size(), nullptr, TimeLeft(stopwatch, waitLimit), nullptr) > 0) {
            visit();
        }
    }
    for (Tun_Socket* connection : connections) {
        connection->RemoveUser();
    }
    return anyData && !failed;
}

bool Tun_Session::ReceiveDatagrams(Tun_Socket& socket, Tun_EventList& events, std::uint32_t waitLimit) {
    ThreadManager::LockMutex(socket.GetReceiveLock());
    bool anyRead = false;
    bool failed = !socket.EnsureBuffer(Tun_Socket::kReceiveBuffer, os::kMaxDatagramSize);
    while (!failed) {
        const bool waiting = os::WaitForSocket(socket.handle, os::kPollReadable, 0);
        if (!waiting && (anyRead || socket.IsNonBlocking() ||
                         !os::WaitForSocket(socket.handle, os::kPollReadable, static_cast<std::int32_t>(waitLimit)))) {
            break;
        }
        std::uint8_t* buffer = socket.GetBuffer(Tun_Socket::kReceiveBuffer);
        os::SocketAddress source{};
        const std::int64_t read = os::ReceiveDatagram(socket.handle, buffer, os::kMaxDatagramSize, &source);
        if (read < 0) {
            failed = true;
            break;
        }
        anyRead = true;
        const std::uint32_t length = DatagramMessageLength(buffer, static_cast<std::size_t>(read));
        RawMessage message = length > 0 ? AllocateMessage(length) : RawMessage{};
        if (message.bytes != nullptr) {
            std::memcpy(message.bytes, buffer, length);
            Tun_Event event =
                MakeEvent(Tun_Event_Kind::MessageReceived, socket.id, Tun_Address::FromSocketAddress(source));
            event.detail = &socket;
            AppendMessageEvent(events, event, message);
        }
    }
    ThreadManager::UnlockMutex(socket.GetReceiveLock());
    return anyRead && !failed;
}

}  // namespace Network
