#pragma once

#include <cstdint>

// Core start-up and shut-down are counted: only the first start-up and the
// last shut-down act. The first start-up makes the memory mutex, which then
// stays for the life of the process. The guard byte is the caller's: start-up sets it to 1
// when the performance counter is the clock, 0 when the millisecond timer is
// (shut-down then gives the timer resolution back).
void CoreStartup(std::uint8_t& guard);
void CoreShutdown(std::uint8_t& guard);

namespace Core {
std::uint32_t GetStartupCount();
}
