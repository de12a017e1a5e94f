#include "core/Core_ErrorLog.h"

#include "core/Core_ErrorLogTestHooks.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace Core {
namespace {

std::mutex g_mutex;
bool g_capturing = false;
std::vector<std::string> g_captured;

}  // namespace

void LogError(std::string_view text) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    if (g_capturing) {
        g_captured.emplace_back(text);
    }
}

std::string PrintableForLog(std::string_view name) {
    constexpr std::size_t kShown = 64;
    std::string shown(name.substr(0, kShown));
    if (name.size() > kShown) {
        shown += "...";
    }
    // Bytes past ASCII go too: 0x9B alone starts an escape sequence on
    // terminals that take 8-bit controls.
    std::replace_if(shown.begin(), shown.end(), [](unsigned char c) { return c < 0x20 || c >= 0x7F; }, '?');
    return shown;
}

namespace testhooks {

void StartCapturingErrors() {
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_captured.clear();
    g_capturing = true;
}

std::vector<std::string> StopCapturingErrors() {
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_capturing = false;
    std::vector<std::string> lines;
    lines.swap(g_captured);
    return lines;
}

}  // namespace testhooks
}  // namespace Core
