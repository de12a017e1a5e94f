#include "os/OS_NetworkInterfaces.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

namespace os {

namespace {

bool IsIPv4(const sockaddr* address) { return address != nullptr && address->sa_family == AF_INET; }

std::uint32_t AddressOf(const sockaddr* address) {
    return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}

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
        found.ipv4 = AddressOf(entry->ifa_addr);
        found.hasBroadcast = (entry->ifa_flags & IFF_BROADCAST) != 0 && IsIPv4(entry->ifa_broadaddr);
        if (found.hasBroadcast) {
            found.broadcast = AddressOf(entry->ifa_broadaddr);
        }
        found.up = (entry->ifa_flags & IFF_UP) != 0;
        found.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        interfaces.push_back(std::move(found));
    }
    freeifaddrs(list);
    return interfaces;
}

std::string GetHostName() {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) {
        return {};
    }
    return name.data();
}

}  // namespace os
