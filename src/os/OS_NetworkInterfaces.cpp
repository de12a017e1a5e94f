#include "os/OS_NetworkInterfaces.h"

#include "os/OS_SocketError.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace os {
namespace {

std::uint32_t IPv4Of(const sockaddr* address) {
    sockaddr_in ipv4{};
    std::memcpy(&ipv4, address, sizeof ipv4);
    return ntohl(ipv4.sin_addr.s_addr);
}

}  // namespace

std::vector<NetworkInterface> ListIPv4Interfaces() {
    std::vector<NetworkInterface> interfaces;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        RecordSocketErrno();
        return interfaces;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        NetworkInterface found;
        found.name = entry->ifa_name != nullptr ? entry->ifa_name : "";
        found.ipv4 = IPv4Of(entry->ifa_addr);
        found.up = (entry->ifa_flags & IFF_UP) != 0;
        found.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        found.hasBroadcast = (entry->ifa_flags & IFF_BROADCAST) != 0 && entry->ifa_broadaddr != nullptr;
        found.broadcast = found.hasBroadcast ? IPv4Of(entry->ifa_broadaddr) : 0;
        interfaces.push_back(found);
    }
    freeifaddrs(list);
    return interfaces;
}

std::string GetHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        RecordSocketErrno();
        return {};
    }
    return name;
}

}  // namespace os
