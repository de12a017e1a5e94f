#include "os/OS_SocketAddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>

#include <cstring>

namespace os {

SocketAddress MakeSocketAddress(std::uint32_t ipv4, std::uint16_t port) {
    SocketAddress address{};
    // The family in the machine's (little-endian) order, the rest big-endian.
    address[0] = static_cast<std::uint8_t>(kAddressFamilyIPv4);
    address[1] = static_cast<std::uint8_t>(kAddressFamilyIPv4 >> 8);
    address[2] = static_cast<std::uint8_t>(port >> 8);
    address[3] = static_cast<std::uint8_t>(port);
    address[4] = static_cast<std::uint8_t>(ipv4 >> 24);
    address[5] = static_cast<std::uint8_t>(ipv4 >> 16);
    address[6] = static_cast<std::uint8_t>(ipv4 >> 8);
    address[7] = static_cast<std::uint8_t>(ipv4);
    return address;
}

std::uint32_t SocketAddressIPv4(const SocketAddress& address) {
    return static_cast<std::uint32_t>(address[4]) << 24 | static_cast<std::uint32_t>(address[5]) << 16 |
           static_cast<std::uint32_t>(address[6]) << 8 | address[7];
}

std::uint16_t SocketAddressPort(const SocketAddress& address) {
    return static_cast<std::uint16_t>(address[2] << 8 | address[3]);
}

bool ResolveIPv4(const char* text, std::uint32_t* ipv4) {
    if (text == nullptr || ipv4 == nullptr || *text == '\0') {
        return false;
    }
    in_addr parsed{};
    if (inet_pton(AF_INET, text, &parsed) == 1) {
        *ipv4 = ntohl(parsed.s_addr);
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(text, nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    bool resolved = false;
    for (const addrinfo* entry = found; entry != nullptr && !resolved; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
            sockaddr_in address{};
            std::memcpy(&address, entry->ai_addr, sizeof address);
            *ipv4 = ntohl(address.sin_addr.s_addr);
            resolved = true;
        }
    }
    freeaddrinfo(found);
    return resolved;
}

std::string FormatIPv4(std::uint32_t ipv4) {
    in_addr address{};
    address.s_addr = htonl(ipv4);
    char text[INET_ADDRSTRLEN] = {};
    return inet_ntop(AF_INET, &address, text, sizeof text) != nullptr ? text : "";
}

}  // namespace os
