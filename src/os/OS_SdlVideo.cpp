#include "os/OS_SdlVideo.h"

#include "os/OS_Error.h"

#include <SDL.h>

#include <cstdlib>

namespace os::sdl {
namespace {
// Windows belong to the main thread, so the count needs no lock.
int g_videoUsers = 0;

void QuitSdl() { SDL_Quit(); }
}  // namespace

bool AcquireVideo() {
    if (g_videoUsers == 0) {
        // A close request goes through the window's close path only; without
        // this SDL would also queue a quit when the last window is closed.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            SetLastErrorFromSdl();
            return false;
        }
        static const bool quitAtExit = std::atexit(&QuitSdl) == 0;
        static_cast<void>(quitAtExit);
    }
    ++g_videoUsers;
    return true;
}

void ReleaseVideo() {
    if (g_videoUsers == 0) {
        return;
    }
    if (--g_videoUsers == 0) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

bool IsVideoActive() { return g_videoUsers > 0; }

void SetLastErrorFromSdl() {
    const char* text = SDL_GetError();
    SetLastErrorWithText(ERROR_SDL_FAILURE, text != nullptr && text[0] != '\0' ? text : "SDL call failed");
}

}  // namespace os::sdl
