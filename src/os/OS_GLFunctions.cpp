#include "os/OS_GLFunctions.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <sstream>
#include <type_traits>

namespace os::gl {
namespace {

std::atomic<std::uint64_t> g_ignoredCalls{0};
bool g_live = false;
std::vector<std::string> g_hiddenExtensions;
// The filtered GL_EXTENSIONS answer; its text stays valid until the next query.
std::string g_extensions;

// Stands in for a function while no context is current.
template <class Function>
struct Ignored;

template <class Result, class... Arguments>
struct Ignored<Result (*)(Arguments...)> {
    static Result Call(Arguments...) {
        g_ignoredCalls.fetch_add(1, std::memory_order_relaxed);
        if constexpr (!std::is_void_v<Result>) {
            return Result{};
        }
    }
};

bool IsHidden(const std::string& name) {
    return std::find(g_hiddenExtensions.begin(), g_hiddenExtensions.end(), name) != g_hiddenExtensions.end();
}

// The driver's list without the hidden names, single spaces between names.
const GLubyte* GetStringFiltered(GLenum name) {
    const GLubyte* text = ::glGetString(name);
    if (name != GL_EXTENSIONS || text == nullptr || g_hiddenExtensions.empty()) {
        return text;
    }
    std::istringstream names(reinterpret_cast<const char*>(text));
    g_extensions.clear();
    for (std::string extension; names >> extension;) {
        if (!IsHidden(extension)) {
            g_extensions += extension;
            g_extensions += ' ';
        }
    }
    return reinterpret_cast<const GLubyte*>(g_extensions.c_str());
}

}  // namespace

#define TUN_GL_DEFINE(name) decltype(&::gl##name) name = &Ignored<decltype(&::gl##name)>::Call;
#define TUN_GLU_DEFINE(name) decltype(&::glu##name) name = &Ignored<decltype(&::glu##name)>::Call;
TUN_GL_FUNCTIONS(TUN_GL_DEFINE)
TUN_GLU_FUNCTIONS(TUN_GLU_DEFINE)
#undef TUN_GL_DEFINE
#undef TUN_GLU_DEFINE

std::uint64_t IgnoredCallCount() { return g_ignoredCalls.load(std::memory_order_relaxed); }

bool IsExtensionAdvertised(const std::string& name) {
    if (!g_live || name.empty() || IsHidden(name)) {
        return false;
    }
    const GLubyte* text = ::glGetString(GL_EXTENSIONS);
    if (text == nullptr) {
        return false;
    }
    // Whole names only: "GL_EXT_texture" must not match "GL_EXT_texture3D".
    std::istringstream names(reinterpret_cast<const char*>(text));
    for (std::string extension; names >> extension;) {
        if (extension == name) {
            return true;
        }
    }
    return false;
}

bool IsVersionAtLeast(int major, int minor) {
    if (!g_live) {
        return false;
    }
    const GLubyte* text = ::glGetString(GL_VERSION);
    int haveMajor = 0;
    int haveMinor = 0;
    if (text == nullptr || std::sscanf(reinterpret_cast<const char*>(text), "%d.%d", &haveMajor, &haveMinor) != 2) {
        return false;
    }
    return haveMajor > major || (haveMajor == major && haveMinor >= minor);
}

void SetHiddenExtensionsForTesting(const std::vector<std::string>& names) { g_hiddenExtensions = names; }

namespace detail {

void UseDriver(bool live) {
    g_live = live;
#define TUN_GL_BIND(name) name = live ? &::gl##name : &Ignored<decltype(&::gl##name)>::Call;
#define TUN_GLU_BIND(name) name = live ? &::glu##name : &Ignored<decltype(&::glu##name)>::Call;
    TUN_GL_FUNCTIONS(TUN_GL_BIND)
    TUN_GLU_FUNCTIONS(TUN_GLU_BIND)
#undef TUN_GL_BIND
#undef TUN_GLU_BIND
    if (live) {
        GetString = &GetStringFiltered;
    }
}

}  // namespace detail
}  // namespace os::gl
