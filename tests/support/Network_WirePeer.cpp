#include "support/Network_WirePeer.h"

#include "os/OS_Error.h"
#include "os/OS_SocketPoll.h"
#include "support/MovingClock.h"

#include <sys/socket.h>

#include <algorithm>
#include <utility>

namespace testsupport {
namespace {

using Clock = std::chrono::steady_clock;

std::int32_t MillisecondsLeft(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<milliseconds>(end - Clock::now()).count();
    return static_cast<std::int32_t>(left > 0 ? left : 0);
}

void Append32(Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t Read32(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | bytes[at + i];
    }
    return value;
}

WirePeer BoundSocket(os::SocketType type, std::uint16_t port) {
    WirePeer peer(os::OpenSocket(type));
    // A chosen source port may still be held by an earlier test's closed connection.
    const std::uint32_t options = port != 0 ? std::uint32_t{os::kSocketOptionReuseAddress} : 0u;
    if (!peer.IsOpen() || !os::ApplySocketOptions(peer.GetHandle(), type, options) ||
        !os::BindSocket(peer.GetHandle(), os::MakeSocketAddress(os::kLoopbackIPv4, port))) {
        return {};
    }
    return peer;
}

}  // namespace

Bytes FramedMessageWithLength(std::uint32_t type, std::uint32_t lengthField, std::span<const std::uint8_t> payload) {
    Bytes bytes;
    Append32(bytes, type);
    Append32(bytes, lengthField);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

Bytes FramedMessage(std::uint32_t type, std::span<const std::uint8_t> payload) {
    return FramedMessageWithLength(type, static_cast<std::uint32_t>(payload.size() + 8), payload);
}

Bytes FramedMessage(std::uint32_t type, std::string_view payload) {
    return FramedMessage(type, std::span(reinterpret_cast<const std::uint8_t*>(payload.data()), payload.size()));
}

WirePeer::WirePeer(WirePeer&& other) noexcept : m_handle(std::exchange(other.m_handle, os::kInvalidSocket)) {}

WirePeer& WirePeer::operator=(WirePeer&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, os::kInvalidSocket);
    }
    return *this;
}

WirePeer WirePeer::ConnectStream(std::uint16_t port, std::uint16_t sourcePort) {
    // Without a chosen port the connect picks one: a bind to port 0 could
    // never take a port whose earlier connection still waits in TIME_WAIT.
    WirePeer peer = sourcePort != 0 ? BoundSocket(os::SocketType::Stream, sourcePort)
                                    : WirePeer(os::OpenSocket(os::SocketType::Stream));
    if (!peer.IsOpen() || !os::ApplySocketOptions(peer.m_handle, os::SocketType::Stream, os::kSocketOptionNoDelay) ||
        !os::ConnectWithin(peer.m_handle, os::MakeSocketAddress(os::kLoopbackIPv4, port), kWireWait.count())) {
        return {};
    }
    return peer;
}

WirePeer WirePeer::ConnectSmallWindow(std::uint16_t port) {
    WirePeer peer(os::OpenSocket(os::SocketType::Stream));
    const int size = 4096;
    if (!peer.IsOpen() || ::setsockopt(peer.m_handle, SOL_SOCKET, SO_RCVBUF, &size, sizeof size) != 0 ||
        !os::ConnectWithin(peer.m_handle, os::MakeSocketAddress(os::kLoopbackIPv4, port), kWireWait.count())) {
        return {};
    }
    return peer;
}

WirePeer WirePeer::OpenDatagram(std::uint16_t sourcePort) { return BoundSocket(os::SocketType::Datagram, sourcePort); }

std::uint16_t WirePeer::GetLocalPort() const {
    os::SocketAddress address{};
    return IsOpen() && os::GetSocketLocalAddress(m_handle, &address) ? os::SocketAddressPort(address) : 0;
}

void WirePeer::Close() {
    if (IsOpen()) {
        os::CloseSocket(std::exchange(m_handle, os::kInvalidSocket));
    }
}

void WirePeer::ShutdownWrite() {
    if (IsOpen()) {
        ::shutdown(m_handle, SHUT_WR);
    }
}

bool WirePeer::Write(std::span<const std::uint8_t> bytes, milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!bytes.empty()) {
        const std::int64_t sent = os::SendStream(m_handle, bytes.data(), bytes.size());
        if (sent > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(sent));
        } else if (os::GetLastError() != os::kSocketWouldBlock ||
                   !os::WaitForSocket(m_handle, os::kPollWritable, MillisecondsLeft(end))) {
            return false;
        }
    }
    return true;
}

bool WirePeer::WriteMessage(std::uint32_t type, std::string_view payload) {
    return Write(FramedMessage(type, payload));
}

bool WirePeer::SendDatagram(std::uint16_t port, std::span<const std::uint8_t> bytes) {
    const os::SocketAddress destination = os::MakeSocketAddress(os::kLoopbackIPv4, port);
    const std::int64_t sent = os::SendDatagram(m_handle, bytes.data(), bytes.size(), destination);
    return sent == static_cast<std::int64_t>(bytes.size());
}

Bytes WirePeer::Read(std::size_t count, milliseconds limit) {
    const auto end = Clock::now() + limit;
    Bytes bytes(count);
    std::size_t filled = 0;
    while (filled < count && os::WaitForSocket(m_handle, os::kPollReadable, MillisecondsLeft(end))) {
        const std::int64_t received = os::ReceiveStream(m_handle, bytes.data() + filled, count - filled);
        if (received <= 0 && !(received < 0 && os::GetLastError() == os::kSocketWouldBlock)) {
            break;
        }
        filled += received > 0 ? static_cast<std::size_t>(received) : 0;
    }
    bytes.resize(filled);
    return bytes;
}

std::optional<WireMessage> WirePeer::ReadMessage(milliseconds limit) {
    const auto end = Clock::now() + limit;
    const Bytes header = Read(8, limit);
    if (header.size() < 8 || Read32(header, 4) < 8) {
        return std::nullopt;
    }
    const std::size_t payloadLength = Read32(header, 4) - 8;
    Bytes payload = Read(payloadLength, std::chrono::duration_cast<milliseconds>(end - Clock::now()));
    if (payload.size() < payloadLength) {
        return std::nullopt;
    }
    return WireMessage{Read32(header, 0), std::move(payload)};
}

std::optional<Bytes> WirePeer::ReceiveDatagram(milliseconds limit, std::uint16_t* sourcePort) {
    if (!os::WaitForSocket(m_handle, os::kPollReadable, static_cast<std::int32_t>(limit.count()))) {
        return std::nullopt;
    }
    Bytes bytes(os::kMaxDatagramSize);
    os::SocketAddress source{};
    const std::int64_t received = os::ReceiveDatagram(m_handle, bytes.data(), bytes.size(), &source);
    if (received < 0) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(received));
    if (sourcePort != nullptr) {
        *sourcePort = os::SocketAddressPort(source);
    }
    return bytes;
}

bool WirePeer::WaitClosed(milliseconds limit) {
    const auto end = Clock::now() + limit;
    std::uint8_t sink[4096];
    while (os::WaitForSocket(m_handle, os::kPollReadable, MillisecondsLeft(end))) {
        const std::int64_t received = os::ReceiveStream(m_handle, sink, sizeof sink);
        if (received == 0 || (received < 0 && os::GetLastError() != os::kSocketWouldBlock)) {
            return true;
        }
    }
    return false;
}

WireListener::WireListener(std::uint16_t port) : m_socket(BoundSocket(os::SocketType::Stream, port)) {
    if (m_socket.IsOpen() && !os::ListenSocket(m_socket.GetHandle(), 128)) {
        m_socket.Close();
    }
}

WirePeer WireListener::Accept(milliseconds limit, bool nonBlocking) {
    if (!os::WaitForSocket(m_socket.GetHandle(), os::kPollReadable, static_cast<std::int32_t>(limit.count()))) {
        return {};
    }
    return WirePeer(os::AcceptSocket(m_socket.GetHandle(), nullptr, nonBlocking));
}

WirePair ConnectedPair() {
    WireListener listener;
    WirePeer far = WirePeer::ConnectStream(listener.GetPort());
    return WirePair{listener.Accept(), std::move(far)};
}

bool WaitWhileTaking(std::size_t target, const std::function<std::size_t()>& taken) {
    for (std::size_t last = taken(); last < target; last = taken()) {
        if (!WaitUntil([&] { return taken() != last; }, kWireWait)) {
            return false;
        }
    }
    return true;
}

std::size_t SendInRounds(std::size_t count, std::size_t round, const std::function<bool(std::size_t index)>& send,
                         const std::function<std::size_t()>& taken) {
    const std::size_t before = taken();
    std::size_t sent = 0;
    while (sent < count) {
        for (const std::size_t end = std::min(count, sent + round); sent < end; ++sent) {
            if (!send(sent)) {
                return sent;
            }
        }
        if (!WaitWhileTaking(before + sent, taken)) {
            return sent;
        }
    }
    return sent;
}

WirePeer DatagramTwin(const std::function<bool(std::uint16_t port)>& openStream) {
    constexpr int kAttempts = 64;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        WirePeer datagram = WirePeer::OpenDatagram();
        if (datagram.IsOpen() && openStream(datagram.GetLocalPort())) {
            return datagram;
        }
    }
    return {};
}

}  // namespace testsupport
