#include "network/Network_LocalHost.h"

#include "network/Network_LocalHostTestHooks.h"
#include "os/OS_NetworkInterfaces.h"

#include <atomic>
#include <cstdio>

namespace Network {

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;
constexpr std::uint64_t kForcedBit = std::uint64_t{1} << 32;

// The forced address in the low 32 bits, kForcedBit while one is forced.
std::atomic<std::uint64_t> g_forced{0};

std::uint32_t FindLocalAddress() {
    for (const os::NetworkInterface& candidate : os::ListIPv4Interfaces()) {
        if (candidate.up && !candidate.loopback && candidate.broadcast) {
            return candidate.address;
        }
    }
    return os::ResolveHostNameAddress().value_or(kLoopback);
}

Core::String DottedText(std::uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof(text), "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF, (address >> 8) & 0xFF,
                  address & 0xFF);
    return Core::String(text);
}

}  // namespace

LocalHost ResolveLocalHost() {
    const std::uint64_t forced = g_forced.load(std::memory_order_acquire);
    LocalHost host;
    host.address = (forced & kForcedBit) != 0 ? static_cast<std::uint32_t>(forced) : FindLocalAddress();
    host.text = DottedText(host.address);
    return host;
}

void ForceLocalHost(std::uint32_t address) { g_forced.store(kForcedBit | address, std::memory_order_release); }

void ClearForcedLocalHost() { g_forced.store(0, std::memory_order_release); }

}  // namespace Network
