#include "os/OS_Process.h"

#include "os/OS_MessageBox.h"
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

namespace {

[[noreturn]] void EndProcess(std::uint32_t code, bool printCode) {
    if (headless::ExitInterceptor interceptor = g_interceptor.load(std::memory_order_acquire)) {
        interceptor(code);
    }
    if (printCode && code != 0) {
        std::fprintf(stderr, "Exiting with error code %u\n", code);
    }
    std::fflush(nullptr);
    // A full-screen mode or a grabbed input would otherwise outlive the process.
    if (SDL_WasInit(0) != 0) {
        SDL_Quit();
    }
    _exit(ExitStatusFor(code));
}

}  // namespace

void ExitProcess(std::uint32_t code) { EndProcess(code, true); }

void FatalExit(const std::string& text, const std::string& caption, std::uint32_t code) {
    std::string line;
    for (const char c : text) {
        line += c == '\n' ? std::string("; ") : std::string(1, c);
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    MessageBoxBesideStderr(text, caption, MB_OK | MB_ICONHAND);
    EndProcess(code, false);
}

namespace headless {

void SetExitInterceptor(ExitInterceptor interceptor) {
    g_interceptor.store(interceptor, std::memory_order_release);
}

}  // namespace headless
}  // namespace os
