#include "core/Core_ErrorLog.h"

#include "core/Core_ErrorLogTestHooks.h"

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
