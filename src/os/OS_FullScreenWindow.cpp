#include "os/OS_FullScreenWindow.h"

#include "os/OS_FittedWindow.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_X11Display.h"

#include <SDL.h>

namespace os::detail {
namespace {

// Out of full screen and framed as its style says, at the size it has.
// True on the fake display, where the native window is to be remade once
// it has its new size.
bool LeaveDesktop(WindowRecord& window, SDL_Window* native) {
    window.coversDesktop = false;
    NoteLeavingDesktop(window);
    const bool fakeDisplay = (SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN) == 0;
    if (!fakeDisplay) {
        const x11::PointerKeeper keeper(native);
        SDL_SetWindowFullscreen(native, 0);
    }
    window.system->ApplyStyle(window, window.style);
    return fakeDisplay;
}

}  // namespace

bool CoverDesktop(WindowRecord& window, Size drawable, const Rect& desktop, bool fakeDisplay) {
    SDL_Window* native = window.system->Native(window);
    if (native == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    // Without a window manager that takes windows to full screen (a bare X
    // server, twm) the request alone changes nothing, so the window is
    // placed by hand, its client area over the desktop (a frame that cannot
    // be taken away stays around it, off the screen). One that does places
    // it itself, and is never asked to move a window whose frame it may be
    // tearing down or replacing meanwhile.
    if ((SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN) == 0 && !x11::WindowManagerFullScreens()) {
        SDL_SetWindowBordered(native, SDL_FALSE);
        window.system->MoveClient(window, {desktop.left, desktop.top});
        window.system->ResizeClient(window, {desktop.Width(), desktop.Height()});
    }
    bool covered = false;
    if (fakeDisplay) {
        covered = window.system->RemakeNative(window);
    } else {
        const x11::PointerKeeper keeper(native);
        covered = SDL_SetWindowFullscreen(native, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    }
    if (!covered) {
        sdl::SetLastErrorFromSdl();
        return false;
    }
    window.drawable = drawable;
    window.coversDesktop = true;
    FollowWindowDrawable(window.handle);
    return true;
}

void UncoverDesktop(WindowRecord& window) {
    SDL_Window* native = window.system->Native(window);
    if (!window.coversDesktop || native == nullptr) {
        return;
    }
    const Size drawable = window.drawable;
    const bool fakeDisplay = LeaveDesktop(window, native);
    window.drawable = {};
    SizeClient(window, drawable);
    if (fakeDisplay) {
        window.system->RemakeNative(window);
    }
    FollowWindowDrawable(window.handle);
}

void DrawUnscaled(WindowRecord& window) {
    SDL_Window* native = window.system->Native(window);
    if (!window.IsDrawnScaled() || native == nullptr) {
        return;
    }
    const Size drawable = window.drawable;
    const bool fakeDisplay = window.coversDesktop && LeaveDesktop(window, native);
    window.drawable = {};
    window.system->ResizeClient(window, drawable);
    if (fakeDisplay) {
        window.system->RemakeNative(window);
    }
    FollowWindowDrawable(window.handle);
}

}  // namespace os::detail
