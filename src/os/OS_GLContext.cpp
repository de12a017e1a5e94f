#include "os/OS_GLContext.h"

#include "os/OS_Backend.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_WindowSystem.h"

#include <SDL.h>

namespace os {
namespace {
thread_local WindowHandle t_headlessCurrent = kNoWindow;
}  // namespace

WindowHandle GetCurrentGLWindow() {
    if (IsHeadless()) {
        return IsWindow(t_headlessCurrent) ? t_headlessCurrent : kNoWindow;
    }
    if (!sdl::IsVideoActive()) {
        return kNoWindow;
    }
    SDL_Window* current = SDL_GL_GetCurrentWindow();
    if (current == nullptr) {
        return kNoWindow;
    }
    for (const detail::WindowRecord* record : detail::LiveWindows()) {
        if (record->system->Native(*record) == current) {
            return record->handle;
        }
    }
    return kNoWindow;
}

bool ReleaseGLContext(WindowHandle window) {
    const detail::WindowRecord* record = detail::FindWindow(window);
    if (record == nullptr) {
        return false;
    }
    if (GetCurrentGLWindow() != window) {
        return true;
    }
    if (IsHeadless()) {
        t_headlessCurrent = kNoWindow;
        return true;
    }
    if (SDL_GL_MakeCurrent(record->system->Native(*record), nullptr) != 0) {
        sdl::SetLastErrorFromSdl();
        return false;
    }
    return true;
}

namespace headless {
void SetCurrentGLWindow(WindowHandle window) { t_headlessCurrent = window; }
}  // namespace headless

}  // namespace os
