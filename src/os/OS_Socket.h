#pragma once

#include "os/OS_SocketAddress.h"

#include <cstddef>
#include <cstdint>

// IPv4 stream and datagram sockets. Every socket call of the program lives in
// this layer. A failing call returns false (or -1) and leaves its code in the
// thread-local last error (os::GetLastError): errno values as they are,
// except the three codes below that callers test. Interrupted calls are
// retried, except close. No call raises SIGPIPE.
namespace os {

using SocketHandle = int;
constexpr SocketHandle kInvalidSocket = -1;

// Would block: a non-blocking call that could not finish now (also a
// non-blocking connect that is under way).
constexpr std::uint32_t kSocketWouldBlock = 10035;
// The connection was aborted on this side.
constexpr std::uint32_t kSocketConnectionAborted = 10053;
// The peer reset the connection (or it is gone: a write to a closed one).
constexpr std::uint32_t kSocketConnectionReset = 10054;

enum class SocketType : std::int32_t { Stream = 1, Datagram = 2 };

// Option bits, applied in increasing order by ApplySocketOptions.
enum SocketOption : std::uint32_t {
    kSocketOptionBroadcast = 1,
    kSocketOptionDebug = 2,  // needs CAP_NET_ADMIN: fails without it
    kSocketOptionDontRoute = 4,
    kSocketOptionKeepAlive = 8,
    kSocketOptionReuseAddress = 16,
    kSocketOptionNoDelay = 32,      // streams
    kSocketOptionNonBlocking = 64,
    kSocketOptionLinger = 128,      // streams: linger 5 s on close; ignored on datagrams
};

// The largest datagram; a datagram read needs a buffer this size to be whole.
constexpr std::size_t kMaxDatagramSize = 65536;

// A socket closed on exec; kInvalidSocket on failure.
SocketHandle OpenSocket(SocketType type);
// Frees the descriptor, also when close reports an error: call it once per
// handle, never again (its number may already name another socket).
bool CloseSocket(SocketHandle handle);

bool BindSocket(SocketHandle handle, const SocketAddress& address);
// Whether a failed bind's code says that the port is taken at the address.
bool IsAddressInUse(std::uint32_t code);
// The bound address (the real port after a port-0 bind; the local end of a
// connected socket).
bool GetSocketLocalAddress(SocketHandle handle, SocketAddress* address);
// The local IPv4 address (host order) a connection to destination leaves
// from: the system's route choice, made without sending anything.
bool GetSourceAddressToward(const SocketAddress& destination, std::uint32_t* ipv4);
bool ListenSocket(SocketHandle handle, int backlog);
bool IsListeningSocket(SocketHandle handle);
// Asks for a receive buffer of that many bytes; the system grants at most
// its own cap (net.core.rmem_max), and that is no failure.
bool RequestReceiveBuffer(SocketHandle handle, std::size_t bytes);

// The first failing option fails the call; options already set stay set.
bool ApplySocketOptions(SocketHandle handle, SocketType type, std::uint32_t options);
bool SetSocketNonBlocking(SocketHandle handle, bool nonBlocking);

// The accepted connection (closed on exec, non-blocking when asked) and the
// peer's address; kInvalidSocket on failure.
SocketHandle AcceptSocket(SocketHandle listener, SocketAddress* peer, bool nonBlocking);

// Starts a connect without waiting: true when connected at once; false with
// kSocketWouldBlock while it is under way (then the socket turns writable and
// FinishConnect tells the outcome), any other code when it failed.
bool StartConnect(SocketHandle handle, const SocketAddress& destination);
// The outcome of a connect that was under way and is now writable: true when
// connected, else false with the reason (refused, unreachable, ...).
bool FinishConnect(SocketHandle handle);
// Connects and waits at most timeoutMs for it, whatever the socket's blocking
// mode (which it keeps). A time-out is an error (ETIMEDOUT).
bool ConnectWithin(SocketHandle handle, const SocketAddress& destination, std::uint32_t timeoutMs);

// Bytes ready to read: on a stream all of them (0 after "readable" is a
// closed peer); on a datagram socket the next datagram's size (0 also for an
// empty one). -1 on failure.
std::int64_t PendingBytes(SocketHandle handle);

// Never waits: the count taken (maybe less than size), or -1 (would block
// included).
std::int64_t SendStream(SocketHandle handle, const void* bytes, std::size_t size);
std::int64_t SendDatagram(SocketHandle handle, const void* bytes, std::size_t size, const SocketAddress& destination);

// Never waits: the count read, 0 when the peer closed, -1 on failure (would
// block included).
std::int64_t ReceiveStream(SocketHandle handle, void* bytes, std::size_t size);
// One datagram into bytes (kMaxDatagramSize holds any); its whole size, which
// may be 0, and its source; -1 on failure (would block included). A datagram
// longer than size is cut to size.
std::int64_t ReceiveDatagram(SocketHandle handle, void* bytes, std::size_t size, SocketAddress* source);

}  // namespace os
