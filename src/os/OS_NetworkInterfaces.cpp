#include "os/OS_NetworkInterfaces.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

namespace os {

namespace {

std::uint32_t AddressOf(const sockaddr* address) {
    return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}

bool IsIPv4(const sockaddr* address) { return address != nullptr && address->sa_family == AF_INET; }

}  // namespace

std::vector<NetworkInterface> ListIPv4Interfaces() {
    std::vector<NetworkInterface> interfaces;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return interfaces;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (!IsIPv4(entry->ifa_addr)) {
            continue;
        }
        NetworkInterface found;
        found.name = entry->ifa_name != nullptr ? entry->ifa_name : "";
        found.address = AddressOf(entry->ifa_addr);
        if ((entry->ifa_flags & IFF_BROADCAST) != 0 && IsIPv4(entry->ifa_broadaddr)) {
            found.broadcast = AddressOf(entry->ifa_broadaddr);
        }
        found.up = (entry->ifa_flags & IFF_UP) != 0;
        found.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        interfaces.push_back(std::move(found));
    }
    freeifaddrs(list);
    return interfaces;
}

std::optional<std::uint32_t> ResolveHostNameAddress() {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) {
        return std::nullopt;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* results = nullptr;
    if (getaddrinfo(name.data(), nullptr, &hints, &results) != 0) {
        return std::nullopt;
    }
    std::optional<std::uint32_t> address;
    for (const addrinfo* result = results; result != nullptr && !address; result = result->ai_next) {
        if (IsIPv4(result->ai_addr)) {
            address = AddressOf(result->ai_addr);
        }
    }
    freeaddrinfo(results);
    return address;
}

}  // namespace os
