#include "os/OS_GLFunctions.h"
#include "os/OS_GLFunctionsTestHooks.h"

#include <GL/glext.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstdio>
#include <sstream>
#include <thread>
#include <type_traits>

namespace os::gl {
namespace {

std::atomic<std::uint64_t> g_ignoredCalls{0};
bool g_live = false;
// The thread whose current context the live table serves.
std::atomic<std::thread::id> g_owner{};
std::vector<std::string> g_hiddenExtensions;
// The filtered GL_EXTENSIONS answer; its text stays valid until the next query.
std::string g_extensions;
bool g_drawingToFramebuffer = false;

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

void AssertOwnerThread() {
    assert(g_owner.load(std::memory_order_relaxed) == std::this_thread::get_id() &&
           "GL called from a thread other than the one that made the context current");
}

// The driver's function, after the thread check of debug builds.
template <auto Function>
struct OnOwnerThread;

template <class Result, class... Arguments, Result (*Function)(Arguments...)>
struct OnOwnerThread<Function> {
    static Result Call(Arguments... arguments) {
        AssertOwnerThread();
        return Function(arguments...);
    }
};

#ifdef NDEBUG
#define TUN_GL_LIVE(function) &function
#else
#define TUN_GL_LIVE(function) &OnOwnerThread<&function>::Call
#endif

bool IsHidden(const std::string& name) {
    return std::find(g_hiddenExtensions.begin(), g_hiddenExtensions.end(), name) != g_hiddenExtensions.end();
}

// The driver's list without the hidden names, single spaces between names.
const GLubyte* GetStringFiltered(GLenum name) {
    AssertOwnerThread();
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

// The window's buffers, read while a framebuffer object stands in for the
// window, are its colour buffer.
void ReadBufferOfDrawable(GLenum buffer) {
    AssertOwnerThread();
    const bool windowBuffer = buffer == GL_BACK || buffer == GL_FRONT || buffer == GL_BACK_LEFT ||
                              buffer == GL_FRONT_LEFT || buffer == GL_LEFT;
    ::glReadBuffer(g_drawingToFramebuffer && windowBuffer ? GL_COLOR_ATTACHMENT0 : buffer);
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
    AssertOwnerThread();
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
    AssertOwnerThread();
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
    assert((!g_live || g_owner.load(std::memory_order_relaxed) == std::this_thread::get_id()) &&
           "a second thread changed the current GL context while another thread's was current");
    g_live = live;
    g_owner.store(live ? std::this_thread::get_id() : std::thread::id(), std::memory_order_relaxed);
#define TUN_GL_BIND(name) name = live ? TUN_GL_LIVE(::gl##name) : &Ignored<decltype(&::gl##name)>::Call;
#define TUN_GLU_BIND(name) name = live ? TUN_GL_LIVE(::glu##name) : &Ignored<decltype(&::glu##name)>::Call;
    TUN_GL_FUNCTIONS(TUN_GL_BIND)
    TUN_GLU_FUNCTIONS(TUN_GLU_BIND)
#undef TUN_GL_BIND
#undef TUN_GLU_BIND
    g_drawingToFramebuffer = false;
    if (live) {
        GetString = &GetStringFiltered;
        ReadBuffer = &ReadBufferOfDrawable;
    }
}

void SetDrawingToFramebuffer(bool drawing) { g_drawingToFramebuffer = drawing; }

}  // namespace detail
}  // namespace os::gl
