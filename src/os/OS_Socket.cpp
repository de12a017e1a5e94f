#include "os/OS_Socket.h"

#include "os/OS_Error.h"
#include "os/OS_SocketError.h"
#include "os/OS_SocketPoll.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace os {
namespace {

constexpr int kLingerSeconds = 5;

sockaddr_in ToPlatform(const SocketAddress& address) {
    sockaddr_in platform{};
    platform.sin_family = AF_INET;
    platform.sin_port = htons(SocketAddressPort(address));
    platform.sin_addr.s_addr = htonl(SocketAddressIPv4(address));
    return platform;
}

SocketAddress FromPlatform(const sockaddr_in& platform) {
    return MakeSocketAddress(ntohl(platform.sin_addr.s_addr), ntohs(platform.sin_port));
}

// Runs a call again while a signal interrupts it.
template <class Call>
auto Retrying(Call call) {
    auto result = call();
    while (result < 0 && errno == EINTR) {
        result = call();
    }
    return result;
}

bool Succeeded(int result) {
    if (result < 0) {
        RecordSocketErrno();
        return false;
    }
    return true;
}

std::int64_t Counted(ssize_t result) {
    if (result < 0) {
        RecordSocketErrno();
        return -1;
    }
    return result;
}

bool SetIntOption(SocketHandle handle, int level, int name) {
    const int on = 1;
    return Succeeded(setsockopt(handle, level, name, &on, sizeof on));
}

bool ApplyOption(SocketHandle handle, SocketType type, std::uint32_t option) {
    switch (option) {
    case kSocketOptionBroadcast:
        return SetIntOption(handle, SOL_SOCKET, SO_BROADCAST);
    case kSocketOptionDebug:
        return SetIntOption(handle, SOL_SOCKET, SO_DEBUG);
    case kSocketOptionDontRoute:
        return SetIntOption(handle, SOL_SOCKET, SO_DONTROUTE);
    case kSocketOptionKeepAlive:
        return SetIntOption(handle, SOL_SOCKET, SO_KEEPALIVE);
    case kSocketOptionReuseAddress:
        return SetIntOption(handle, SOL_SOCKET, SO_REUSEADDR);
    case kSocketOptionNoDelay:
        return SetIntOption(handle, IPPROTO_TCP, TCP_NODELAY);
    case kSocketOptionNonBlocking:
        return SetSocketNonBlocking(handle, true);
    case kSocketOptionLinger: {
        if (type != SocketType::Stream) {
            return true;
        }
        const linger onClose{1, kLingerSeconds};
        return Succeeded(setsockopt(handle, SOL_SOCKET, SO_LINGER, &onClose, sizeof onClose));
    }
    default:
        return true;
    }
}

bool IsNonBlocking(SocketHandle handle, bool* nonBlocking) {
    const int flags = fcntl(handle, F_GETFL);
    if (!Succeeded(flags)) {
        return false;
    }
    *nonBlocking = (flags & O_NONBLOCK) != 0;
    return true;
}

}  // namespace

SocketHandle OpenSocket(SocketType type) {
    if (type != SocketType::Stream && type != SocketType::Datagram) {
        RecordSocketError(EINVAL);
        return kInvalidSocket;
    }
    const int kind = type == SocketType::Stream ? SOCK_STREAM : SOCK_DGRAM;
    const int handle = socket(AF_INET, kind | SOCK_CLOEXEC, 0);
    return Succeeded(handle) ? handle : kInvalidSocket;
}

bool CloseSocket(SocketHandle handle) {
    // Never retried: the descriptor is gone even when close reports EINTR.
    return Succeeded(close(handle));
}

bool BindSocket(SocketHandle handle, const SocketAddress& address) {
    const sockaddr_in platform = ToPlatform(address);
    return Succeeded(bind(handle, reinterpret_cast<const sockaddr*>(&platform), sizeof platform));
}

bool GetSocketLocalAddress(SocketHandle handle, SocketAddress* address) {
    if (address == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    sockaddr_in platform{};
    socklen_t length = sizeof platform;
    if (!Succeeded(getsockname(handle, reinterpret_cast<sockaddr*>(&platform), &length))) {
        return false;
    }
    *address = FromPlatform(platform);
    return true;
}

bool IsAddressInUse(std::uint32_t code) { return code == EADDRINUSE; }

bool GetSourceAddressToward(const SocketAddress& destination, std::uint32_t* ipv4) {
    if (ipv4 == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // A datagram socket's connect only chooses the route.
    const SocketHandle probe = OpenSocket(SocketType::Datagram);
    if (probe == kInvalidSocket) {
        return false;
    }
    const sockaddr_in platform = ToPlatform(destination);
    SocketAddress source{};
    const bool found = Succeeded(connect(probe, reinterpret_cast<const sockaddr*>(&platform), sizeof platform)) &&
                       GetSocketLocalAddress(probe, &source);
    const std::uint32_t error = GetLastError();
    CloseSocket(probe);
    SetLastError(found ? 0u : error);
    if (found) {
        *ipv4 = SocketAddressIPv4(source);
    }
    return found;
}

bool RequestReceiveBuffer(SocketHandle handle, std::size_t bytes) {
    const int size = static_cast<int>(std::min<std::size_t>(bytes, std::numeric_limits<int>::max()));
    return Succeeded(setsockopt(handle, SOL_SOCKET, SO_RCVBUF, &size, sizeof size));
}

bool ListenSocket(SocketHandle handle, int backlog) { return Succeeded(listen(handle, backlog)); }

bool IsListeningSocket(SocketHandle handle) {
    int listening = 0;
    socklen_t length = sizeof listening;
    return Succeeded(getsockopt(handle, SOL_SOCKET, SO_ACCEPTCONN, &listening, &length)) && listening != 0;
}

bool ApplySocketOptions(SocketHandle handle, SocketType type, std::uint32_t options) {
    for (std::uint32_t bit = kSocketOptionBroadcast; bit <= kSocketOptionLinger; bit <<= 1) {
        if ((options & bit) != 0 && !ApplyOption(handle, type, bit)) {
            return false;
        }
    }
    return true;
}

bool SetSocketNonBlocking(SocketHandle handle, bool nonBlocking) {
    const int flags = fcntl(handle, F_GETFL);
    if (!Succeeded(flags)) {
        return false;
    }
    const int wanted = nonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK;
    return wanted == flags || Succeeded(fcntl(handle, F_SETFL, wanted));
}

SocketHandle AcceptSocket(SocketHandle listener, SocketAddress* peer, bool nonBlocking) {
    sockaddr_in platform{};
    socklen_t length = sizeof platform;
    const int flags = SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0);
    const int handle = Retrying([&] {
        length = sizeof platform;
        return accept4(listener, reinterpret_cast<sockaddr*>(&platform), &length, flags);
    });
    if (!Succeeded(handle)) {
        return kInvalidSocket;
    }
    if (peer != nullptr) {
        *peer = FromPlatform(platform);
    }
    return handle;
}

bool StartConnect(SocketHandle handle, const SocketAddress& destination) {
    const sockaddr_in platform = ToPlatform(destination);
    if (connect(handle, reinterpret_cast<const sockaddr*>(&platform), sizeof platform) == 0) {
        return true;
    }
    // An interrupted connect goes on in the background, as a non-blocking one does.
    RecordSocketError(errno == EINTR ? EINPROGRESS : errno);
    return false;
}

bool FinishConnect(SocketHandle handle) {
    int error = 0;
    socklen_t length = sizeof error;
    if (!Succeeded(getsockopt(handle, SOL_SOCKET, SO_ERROR, &error, &length))) {
        return false;
    }
    if (error != 0) {
        RecordSocketError(error);
        return false;
    }
    sockaddr_in peer{};
    socklen_t peerLength = sizeof peer;
    if (getpeername(handle, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0) {
        // Still under way.
        RecordSocketError(errno == ENOTCONN ? EINPROGRESS : errno);
        return false;
    }
    return true;
}

bool ConnectWithin(SocketHandle handle, const SocketAddress& destination, std::uint32_t timeoutMs) {
    bool wasNonBlocking = false;
    if (!IsNonBlocking(handle, &wasNonBlocking) || !SetSocketNonBlocking(handle, true)) {
        return false;
    }
    bool connected = StartConnect(handle, destination);
    if (!connected && GetLastError() == kSocketWouldBlock) {
        const std::int32_t limit = static_cast<std::int32_t>(std::min<std::uint32_t>(timeoutMs, INT32_MAX));
        if (WaitForSocket(handle, kPollWritable, limit)) {
            connected = FinishConnect(handle);
        } else {
            RecordSocketError(ETIMEDOUT);
        }
    }
    const std::uint32_t error = GetLastError();
    if (!wasNonBlocking) {
        SetSocketNonBlocking(handle, false);
    }
    SetLastError(connected ? 0u : error);
    return connected;
}

std::int64_t PendingBytes(SocketHandle handle) {
    int pending = 0;
    return Succeeded(ioctl(handle, FIONREAD, &pending)) ? pending : -1;
}

std::int64_t SendStream(SocketHandle handle, const void* bytes, std::size_t size) {
    return Counted(Retrying([&] { return send(handle, bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT); }));
}

std::int64_t SendDatagram(SocketHandle handle, const void* bytes, std::size_t size, const SocketAddress& destination) {
    const sockaddr_in platform = ToPlatform(destination);
    return Counted(Retrying([&] {
        return sendto(handle, bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&platform),
                      sizeof platform);
    }));
}

std::int64_t ReceiveStream(SocketHandle handle, void* bytes, std::size_t size) {
    return Counted(Retrying([&] { return recv(handle, bytes, size, MSG_DONTWAIT); }));
}

std::int64_t ReceiveDatagram(SocketHandle handle, void* bytes, std::size_t size, SocketAddress* source) {
    sockaddr_in platform{};
    socklen_t length = sizeof platform;
    const std::int64_t count = Counted(Retrying([&] {
        length = sizeof platform;
        return recvfrom(handle, bytes, size, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&platform), &length);
    }));
    if (count >= 0 && source != nullptr) {
        *source = FromPlatform(platform);
    }
    return count;
}

}  // namespace os
