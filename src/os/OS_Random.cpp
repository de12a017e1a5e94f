#include "os/OS_Random.h"

#include <atomic>

namespace os {
namespace {
// Relaxed load and store, not a read-modify-write: concurrent callers may
// draw the same value, as with the C runtime, but never race in the C++ sense.
std::atomic<std::uint32_t> g_state{1};
}  // namespace

void SeedRand(std::uint32_t seed) { g_state.store(seed, std::memory_order_relaxed); }

std::uint32_t GetRandState() { return g_state.load(std::memory_order_relaxed); }

int Rand() {
    const std::uint32_t next = g_state.load(std::memory_order_relaxed) * 214013u + 2531011u;
    g_state.store(next, std::memory_order_relaxed);
    return static_cast<int>((next >> 16) & 0x7FFFu);
}

}  // namespace os
