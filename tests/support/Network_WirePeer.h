#pragma once

#include "os/OS_Socket.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The far end of a test's connection: plain sockets on 127.0.0.1 that write
// framed messages or any bytes (cut anywhere, from chosen source ports) and
// read what arrives. Every wait has a limit.
namespace testsupport {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;

constexpr milliseconds kWireWait{2000};

// A message as the wire carries it, built byte by byte: type, then the
// length field (payload + 8 unless given), then the payload.
Bytes FramedMessage(std::uint32_t type, std::string_view payload);
Bytes FramedMessage(std::uint32_t type, std::span<const std::uint8_t> payload);
Bytes FramedMessageWithLength(std::uint32_t type, std::uint32_t lengthField, std::span<const std::uint8_t> payload);

struct WireMessage {
    std::uint32_t type = 0;
    Bytes payload;
};

class WirePeer {
public:
    WirePeer() = default;
    explicit WirePeer(os::SocketHandle handle) : m_handle(handle) {}
    WirePeer(WirePeer&& other) noexcept;
    WirePeer& operator=(WirePeer&& other) noexcept;
    ~WirePeer() { Close(); }

    // A stream connected to 127.0.0.1:port, from sourcePort (0: any); not open on failure.
    static WirePeer ConnectStream(std::uint16_t port, std::uint16_t sourcePort = 0);
    // A stream connected to 127.0.0.1:port that takes little at a time (a
    // small receive buffer): a member that reads slowly or not at all.
    static WirePeer ConnectSmallWindow(std::uint16_t port);
    // A datagram socket bound to 127.0.0.1:sourcePort (0: any); not open on
    // failure, whose code os::GetLastError() then gives (a taken port's too).
    static WirePeer OpenDatagram(std::uint16_t sourcePort = 0);

    bool IsOpen() const { return m_handle != os::kInvalidSocket; }
    os::SocketHandle GetHandle() const { return m_handle; }
    std::uint16_t GetLocalPort() const;
    // Unread bytes are dropped: a stream with bytes it never read resets the connection.
    void Close();
    // Stream: ends what it sends and still reads; closing first, this end
    // holds the connection's TIME_WAIT.
    void ShutdownWrite();

    // Stream: every byte, waiting while the socket is full.
    bool Write(std::span<const std::uint8_t> bytes, milliseconds limit = kWireWait);
    bool WriteMessage(std::uint32_t type, std::string_view payload);
    // Datagram: one datagram to 127.0.0.1:port.
    bool SendDatagram(std::uint16_t port, std::span<const std::uint8_t> bytes);

    // Stream: the next count bytes; fewer when the limit passed or the peer closed.
    Bytes Read(std::size_t count, milliseconds limit = kWireWait);
    std::optional<WireMessage> ReadMessage(milliseconds limit = kWireWait);
    // Datagram: the next one, with its source port.
    std::optional<Bytes> ReceiveDatagram(milliseconds limit = kWireWait, std::uint16_t* sourcePort = nullptr);
    // Stream: true once the peer closed or reset it (arriving bytes are dropped).
    bool WaitClosed(milliseconds limit = kWireWait);

private:
    os::SocketHandle m_handle = os::kInvalidSocket;
};

// A listening stream on 127.0.0.1 at the port, 0 for one the system picks
// (the port it got reported); not open when the port is taken.
class WireListener {
public:
    explicit WireListener(std::uint16_t port = 0);
    WireListener(const WireListener&) = delete;
    WireListener& operator=(const WireListener&) = delete;

    bool IsOpen() const { return m_socket.IsOpen(); }
    std::uint16_t GetPort() const { return m_socket.GetLocalPort(); }
    // Not open when nobody connected within the limit.
    WirePeer Accept(milliseconds limit = kWireWait, bool nonBlocking = false);

private:
    WirePeer m_socket;
};

// Both ends of one loopback connection.
struct WirePair {
    WirePeer near;  // the end a test hands to the code under test
    WirePeer far;   // the end that plays the peer
};
WirePair ConnectedPair();

// Waits until taken() reaches target, as long as it goes on growing: a
// slow receiver is waited for, one that takes nothing more for a whole wire
// wait is not. Whether it reached the target.
bool WaitWhileTaking(std::size_t target, const std::function<std::size_t()>& taken);

// Sends `count` datagrams (send(i) sends the i-th) `round` at a time, each
// round once the receiver took in the one before (taken() counts what it
// took), so that its socket never overflows however slowly it reads. Stops
// early when a round adds nothing for a whole wire wait: the receiver drops
// it. How many were sent.
std::size_t SendInRounds(std::size_t count, std::size_t round, const std::function<bool(std::size_t index)>& send,
                         const std::function<std::size_t()>& taken);

// A datagram socket on 127.0.0.1 at a port the system picks, after which
// openStream opens a stream on that port; another port while it cannot (a
// bounded number of times). The system gives streams bound to port 0 odd
// ports, which other programs may hold for datagrams: the datagram socket
// chooses. Not open when no port served both.
WirePeer DatagramTwin(const std::function<bool(std::uint16_t port)>& openStream);

}  // namespace testsupport
