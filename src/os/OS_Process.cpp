#include "os/OS_Process.h"

#include "os/OS_ProcessTestHooks.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace os {
namespace {

std::atomic<headless::ExitInterceptor> g_interceptor{nullptr};

}  // namespace

int ExitStatusFor(std::uint32_t code) {
    if (code == 0) {
        return 0;
    }
    const int low = static_cast<int>(code & 0xFFu);
    return low != 0 ? low : 1;
}

void ExitProcess(std::uint32_t code) {
    if (headless::ExitInterceptor interceptor = g_interceptor.load(std::memory_order_acquire)) {
        interceptor(code);
    }
    if (code != 0) {
        std::fprintf(stderr, "Exiting with error code %u\n", code);
    }
    std::fflush(nullptr);
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
