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
thread_local ErrorLogLimit* t_limit = nullptr;

}  // namespace

ErrorLogLimit::ErrorLogLimit(std::size_t shown) : m_outer(t_limit), m_left(shown) { t_limit = this; }

ErrorLogLimit::~ErrorLogLimit() {
    t_limit = m_outer;
    if (m_withheld > 0) {
        LogError(std::to_string(m_withheld) + (m_withheld == 1 ? " more error" : " more errors") +
                 " like these not shown");
    }
}

bool ErrorLogLimit::Admits() {
    if (t_limit == nullptr) {
        return true;
    }
    if (t_limit->m_left == 0) {
        ++t_limit->m_withheld;
        return false;
    }
    --t_limit->m_left;
    return true;
}

void LogError(std::string_view text) {
    if (!ErrorLogLimit::Admits()) {
        return;
    }
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
