#include "os/OS_GLContext.h"

#include "os/OS_Backend.h"
#include "os/OS_Error.h"
#include "os/OS_Framebuffer.h"
#include "os/OS_FullScreenWindow.h"
#include "os/OS_GLFunctions.h"
#include "os/OS_HeadlessWindowHooks.h"
#include "os/OS_PixelFormat.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_WindowSystem.h"

#include <SDL.h>

#include <map>

namespace os {
namespace {

struct ContextRecord {
    SDL_GLContext native = nullptr;  // null for a headless context
    std::int32_t pixelFormat = 0;
    // What the context draws into while its window covers the desktop.
    detail::DrawableFramebuffer framebuffer;
};

struct ContextTable {
    std::map<std::uint32_t, ContextRecord> contexts;
    std::uint32_t nextHandle = 1;
};

ContextTable& Contexts() {
    static ContextTable table;
    return table;
}

struct Current {
    WindowHandle window = kNoWindow;
    GLContext context = kNoGLContext;
};
thread_local Current t_current;

ContextRecord* FindContext(GLContext context) {
    const auto found = Contexts().contexts.find(static_cast<std::uint32_t>(context));
    if (found == Contexts().contexts.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &found->second;
}

// The record of the thread's current context when it is a real one.
ContextRecord* CurrentNativeRecord() {
    const auto found = Contexts().contexts.find(static_cast<std::uint32_t>(t_current.context));
    return found != Contexts().contexts.end() && found->second.native != nullptr ? &found->second : nullptr;
}

// The SDL context of the thread's current context; null when there is none
// or it is a headless one.
SDL_GLContext CurrentNativeContext() {
    const ContextRecord* record = CurrentNativeRecord();
    return record != nullptr ? record->native : nullptr;
}

// The context, current on the window, draws where the window wants it: into
// its framebuffer object while the window shows its picture scaled, else
// into the window itself. A context that cannot have the object has the
// window drawn directly.
void DrawWhereTheWindowShows(detail::WindowRecord& window, ContextRecord& context) {
    if (!window.IsDrawnScaled()) {
        context.framebuffer.Release();
    } else if (!context.framebuffer.Bind(window.drawable)) {
        detail::DrawUnscaled(window);
    }
}

// SDL's idea of the current context follows ours again (after SDL made a
// new context current by itself).
void RestoreSdlCurrent() {
    if (SDL_GLContext native = CurrentNativeContext()) {
        SDL_GL_MakeCurrent(detail::NativeWindowOf(t_current.window), native);
    } else {
        SDL_GL_MakeCurrent(nullptr, nullptr);
    }
}

void ReleaseCurrent() {
    if (CurrentNativeContext() != nullptr) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
    }
    // The table serves the thread whose context is current: a thread that
    // had none leaves it alone.
    if (t_current.context != kNoGLContext) {
        gl::detail::UseDriver(false);
    }
    t_current = {};
}

}  // namespace

GLContext CreateGLContext(WindowHandle dc) {
    const detail::WindowRecord* window = detail::FindWindow(dc);
    if (window == nullptr) {
        return kNoGLContext;
    }
    detail::PixelFormat format;
    if (window->pixelFormat == 0 || !detail::FindPixelFormat(window->pixelFormat, &format)) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return kNoGLContext;
    }
    ContextRecord record;
    record.pixelFormat = window->pixelFormat;
    if (!IsHeadless()) {
        if (!window->system->SupportsOpenGL(*window)) {
            SetLastErrorWithText(ERROR_SDL_FAILURE, "the window was made without OpenGL support");
            return kNoGLContext;
        }
        detail::RequestSdlPixelFormat(format);
        record.native = SDL_GL_CreateContext(window->system->Native(*window));
        if (record.native == nullptr) {
            sdl::SetLastErrorFromSdl();
            return kNoGLContext;
        }
        RestoreSdlCurrent();
    }
    ContextTable& table = Contexts();
    const GLContext handle{table.nextHandle++};
    table.contexts.emplace(static_cast<std::uint32_t>(handle), record);
    return handle;
}

bool MakeGLContextCurrent(WindowHandle dc, GLContext context) {
    if (context == kNoGLContext) {
        ReleaseCurrent();
        return true;
    }
    ContextRecord* record = FindContext(context);
    detail::WindowRecord* window = record != nullptr ? detail::FindWindow(dc) : nullptr;
    if (window == nullptr) {
        return false;
    }
    if (window->pixelFormat != record->pixelFormat) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return false;
    }
    if (record->native != nullptr && SDL_GL_MakeCurrent(window->system->Native(*window), record->native) != 0) {
        sdl::SetLastErrorFromSdl();
        return false;
    }
    t_current = {dc, context};
    gl::detail::UseDriver(record->native != nullptr);
    if (record->native != nullptr) {
        DrawWhereTheWindowShows(*window, *record);
    }
    return true;
}

bool DeleteGLContext(GLContext context) {
    const ContextRecord* record = FindContext(context);
    if (record == nullptr) {
        return false;
    }
    if (t_current.context == context) {
        ReleaseCurrent();
    }
    if (record->native != nullptr) {
        SDL_GL_DeleteContext(record->native);
    }
    Contexts().contexts.erase(static_cast<std::uint32_t>(context));
    return true;
}

WindowHandle GetCurrentGLWindow() { return IsWindow(t_current.window) ? t_current.window : kNoWindow; }

GLContext GetCurrentGLContext() { return t_current.context; }

bool ReleaseGLContext(WindowHandle window) {
    if (detail::FindWindow(window) == nullptr) {
        return false;
    }
    if (t_current.window == window) {
        ReleaseCurrent();
    }
    return true;
}

bool SwapBuffers(WindowHandle dc) {
    const detail::WindowRecord* window = detail::FindWindow(dc);
    if (window == nullptr) {
        return false;
    }
    if (t_current.window != dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (SDL_Window* native = window->system->Native(*window)) {
        if (const ContextRecord* record = CurrentNativeRecord(); record != nullptr && record->framebuffer.IsActive()) {
            Size size;
            SDL_GL_GetDrawableSize(native, &size.width, &size.height);
            record->framebuffer.Present(size);
        }
        SDL_GL_SwapWindow(native);
    }
    return true;
}

void SavedGLContext::Restore() const {
    if (m_context == kNoGLContext) {
        ReleaseCurrent();
        // A window marked current without a context (headless) is marked again.
        t_current.window = IsWindow(m_window) ? m_window : kNoWindow;
        return;
    }
    const auto found = Contexts().contexts.find(static_cast<std::uint32_t>(m_context));
    const detail::WindowRecord* window = IsWindow(m_window) ? detail::FindWindow(m_window) : nullptr;
    if (found == Contexts().contexts.end() || window == nullptr || window->pixelFormat != found->second.pixelFormat) {
        ReleaseCurrent();
        return;
    }
    MakeGLContextCurrent(m_window, m_context);
}

namespace detail {

void FollowWindowDrawable(WindowHandle window) {
    ContextRecord* context = CurrentNativeRecord();
    WindowRecord* record = t_current.window == window ? FindWindow(window) : nullptr;
    if (context == nullptr || record == nullptr) {
        return;
    }
    // The native window may be a new one.
    SDL_GL_MakeCurrent(record->system->Native(*record), context->native);
    DrawWhereTheWindowShows(*record, *context);
}

bool CanDrawOffscreen(WindowHandle window) {
    return t_current.window != window || CurrentNativeContext() == nullptr || DrawableFramebuffer::Supported();
}

}  // namespace detail

namespace headless {
void SetCurrentGLWindow(WindowHandle window) {
    ReleaseCurrent();
    t_current.window = window;
}
}  // namespace headless

}  // namespace os
