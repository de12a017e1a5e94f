#include "os/OS_Cursor.h"

#include "os/OS_Backend.h"
#include "os/OS_Error.h"
#include "os/OS_HeadlessInput.h"
#include "os/OS_PointerSample.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_WindowSystem.h"

#include <SDL.h>

#include <optional>

namespace os {
namespace {

// The cursor belongs to the main thread, like the windows.
int g_displayCount = 0;
Point g_headlessPosition;

bool RequireVideo() {
    if (sdl::IsVideoActive()) {
        return true;
    }
    SetLastErrorWithText(ERROR_SDL_FAILURE, "no window is open, so there is no cursor to ask");
    return false;
}

// A window to warp inside when the display server refuses global warps.
SDL_Window* WarpWindow() {
    if (SDL_Window* focus = SDL_GetMouseFocus()) {
        return focus;
    }
    if (SDL_Window* focus = SDL_GetKeyboardFocus()) {
        return focus;
    }
    for (const detail::WindowRecord* record : detail::LiveWindows()) {
        if (SDL_Window* window = record->system->Native(*record)) {
            return window;
        }
    }
    return nullptr;
}

bool SdlSetCursorPos(std::int32_t x, std::int32_t y) {
    if (!RequireVideo()) {
        return false;
    }
    detail::ForgetPointerSample();
    if (SDL_WarpMouseGlobal(x, y) == 0) {
        return true;
    }
    SDL_Window* window = WarpWindow();
    if (window == nullptr) {
        sdl::SetLastErrorFromSdl();
        return false;
    }
    Point origin;
    SDL_GetWindowPosition(window, &origin.x, &origin.y);
    SDL_WarpMouseInWindow(window, x - origin.x, y - origin.y);
    return true;
}

}  // namespace

bool GetCursorPos(Point* position) {
    if (position == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (IsHeadless()) {
        *position = g_headlessPosition;
        return true;
    }
    if (!RequireVideo()) {
        return false;
    }
    // The display itself knows, whatever moved the pointer (a device, a
    // remote desktop's input, another program's warp, a window moved under
    // it), as of the last pump.
    if (const std::optional<Point> onDesktop = detail::SampledPointerPosition()) {
        *position = *onDesktop;
        return true;
    }
    // Elsewhere, relative to the window under it, as a warp takes it.
    SDL_GetMouseState(&position->x, &position->y);
    if (SDL_Window* window = WarpWindow()) {
        Point origin;
        SDL_GetWindowPosition(window, &origin.x, &origin.y);
        position->x += origin.x;
        position->y += origin.y;
    }
    return true;
}

bool SetCursorPos(std::int32_t x, std::int32_t y) {
    if (IsHeadless()) {
        g_headlessPosition = {x, y};
        return true;
    }
    return SdlSetCursorPos(x, y);
}

int ShowCursor(bool show) {
    g_displayCount += show ? 1 : -1;
    if (!IsHeadless() && sdl::IsVideoActive()) {
        SDL_ShowCursor(g_displayCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    }
    return g_displayCount;
}

bool GetCursorInfo(CursorInfo* info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    bool showing = g_displayCount >= 0;
    if (!IsHeadless() && sdl::IsVideoActive()) {
        showing = SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
    }
    Point position;
    if (!GetCursorPos(&position)) {
        return false;
    }
    *info = {showing ? CURSOR_SHOWING : 0u, position};
    return true;
}

namespace headless {

void ResetCursor() {
    g_headlessPosition = {};
    g_displayCount = 0;
}

}  // namespace headless
}  // namespace os
