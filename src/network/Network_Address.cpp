#include "network/Network_Address.h"

namespace Network {

Tun_Address::Tun_Address() : m_socketAddress(os::MakeSocketAddress(os::kAnyIPv4, 0)) {}

Tun_Address::Tun_Address(const char* hostText, std::uint16_t port) : Tun_Address() { Set(hostText, port); }

void Tun_Address::Set(const char* hostText, std::uint16_t port) {
    std::uint32_t ipv4 = os::kAnyIPv4;
    if (hostText != nullptr) {
        m_hostText = hostText;
        if (!os::ResolveIPv4(hostText, &ipv4)) {
            ipv4 = os::kAnyIPv4;
        }
    }
    m_socketAddress = os::MakeSocketAddress(ipv4, port);
}

void Tun_Address::SetFromSocketAddress(const os::SocketAddress& address) {
    m_socketAddress = os::MakeSocketAddress(os::SocketAddressIPv4(address), os::SocketAddressPort(address));
    m_hostText = os::FormatIPv4(GetIPv4()).c_str();
}

Tun_Address Tun_Address::FromSocketAddress(const os::SocketAddress& address) {
    Tun_Address made;
    made.SetFromSocketAddress(address);
    return made;
}

bool Tun_Address::SameEndpoint(const Tun_Address& other) const {
    return GetPort() == other.GetPort() && GetIPv4() == other.GetIPv4();
}

}  // namespace Network
