#pragma once

#include "core/Core_String.h"
#include "os/OS_SocketAddress.h"

#include <cstdint>

namespace Network {

// A socket address as the platform lays it out (16 bytes, copied as they are
// into wire records) and the host text it came from: the name or dotted
// address given, or the dotted address a socket call reported.
class Tun_Address {
public:
    // The any-address: 0.0.0.0, port 0, no text.
    Tun_Address();
    Tun_Address(const char* hostText, std::uint16_t port);

    // Port 0 means any. Without host text the address is 0.0.0.0 and the text
    // stays as it was; a text that is neither a dotted address nor a name
    // that resolves gives 0.0.0.0 too.
    void Set(const char* hostText, std::uint16_t port);
    // From what a socket call filled in; the text becomes the dotted address.
    void SetFromSocketAddress(const os::SocketAddress& address);
    static Tun_Address FromSocketAddress(const os::SocketAddress& address);

    // Port and IPv4 address equal; family and text do not count.
    bool SameEndpoint(const Tun_Address& other) const;

    const os::SocketAddress& GetSocketAddress() const { return m_socketAddress; }
    const Core::String& GetHostText() const { return m_hostText; }
    std::uint16_t GetPort() const { return os::SocketAddressPort(m_socketAddress); }
    // Host order.
    std::uint32_t GetIPv4() const { return os::SocketAddressIPv4(m_socketAddress); }
    // Address and port in the low 48 bits: a key by endpoint, which callers
    // may mark in the bits above.
    std::uint64_t GetEndpointKey() const { return std::uint64_t{GetIPv4()} << 16 | GetPort(); }

private:
    os::SocketAddress m_socketAddress;
    Core::String m_hostText;
};

}  // namespace Network
