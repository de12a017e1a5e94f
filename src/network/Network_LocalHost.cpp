#include "network/Network_LocalHost.h"

#include "network/Network_LocalHostTestHooks.h"
#include "os/OS_NetworkInterfaces.h"
#include "os/OS_SocketAddress.h"

#include <atomic>

namespace Network {

namespace {

constexpr std::uint64_t kForcedBit = std::uint64_t{1} << 32;

// The forced address in the low 32 bits, kForcedBit while one is forced.
std::atomic<std::uint64_t> g_forced{0};

std::uint32_t FindLocalAddress() {
    for (const os::NetworkInterface& candidate : os::ListIPv4Interfaces()) {
        if (candidate.up && !candidate.loopback && candidate.hasBroadcast) {
            return candidate.ipv4;
        }
    }
    const std::string name = os::GetHostName();
    std::uint32_t address = os::kLoopbackIPv4;
    if (!name.empty()) {
        os::ResolveIPv4(name.c_str(), &address);
    }
    return address;
}

}  // namespace

LocalHost ResolveLocalHost() {
    const std::uint64_t forced = g_forced.load(std::memory_order_acquire);
    LocalHost host;
    host.address = (forced & kForcedBit) != 0 ? static_cast<std::uint32_t>(forced) : FindLocalAddress();
    host.text = Core::String(os::FormatIPv4(host.address));
    return host;
}

void ForceLocalHost(std::uint32_t address) { g_forced.store(kForcedBit | address, std::memory_order_release); }

void ClearForcedLocalHost() { g_forced.store(0, std::memory_order_release); }

}  // namespace Network
