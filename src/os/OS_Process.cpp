#include "os/OS_Process.h"

#include <SDL.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace os {
namespace {

constexpr std::size_t kMaxCleanups = 8;
std::array<std::atomic<EmergencyCleanup>, kMaxCleanups> g_cleanups{};
std::atomic<std::size_t> g_cleanupCount{0};
std::atomic<headless::ExitInterceptor> g_interceptor{nullptr};

}  // namespace

int ExitStatusFor(std::uint32_t code) {
    if (code == 0) {
        return 0;
    }
    const int low = static_cast<int>(code & 0xFFu);
    return low != 0 ? low : 1;
}

void AddEmergencyCleanup(EmergencyCleanup cleanup) {
    const std::size_t slot = g_cleanupCount.fetch_add(1, std::memory_order_relaxed);
    if (slot < kMaxCleanups) {
        g_cleanups[slot].store(cleanup, std::memory_order_release);
    }
}

void ExitProcess(std::uint32_t code) {
    if (headless::ExitInterceptor interceptor = g_interceptor.load(std::memory_order_acquire)) {
        interceptor(code);
    }
    if (code != 0) {
        std::fprintf(stderr, "Exiting with error code %u\n", code);
    }
    std::fflush(nullptr);
    std::size_t count = g_cleanupCount.load(std::memory_order_relaxed);
    if (count > kMaxCleanups) {
        count = kMaxCleanups;
    }
    while (count > 0) {
        --count;
        if (EmergencyCleanup cleanup = g_cleanups[count].load(std::memory_order_acquire)) {
            cleanup();
        }
    }
    // A full-screen mode or a grabbed input would otherwise outlive the process.
    if (SDL_WasInit(0) != 0) {
        SDL_Quit();
    }
    _exit(ExitStatusFor(code));
}

namespace headless {

void SetExitInterceptor(ExitInterceptor interceptor) {
    g_interceptor.store(interceptor, std::memory_order_release);
}

}  // namespace headless
}  // namespace os
