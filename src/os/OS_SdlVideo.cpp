#include "os/OS_SdlVideo.h"

#include "os/OS_Error.h"
#include "os/OS_HeldButtons.h"
#include "os/OS_SdlVideoTestHooks.h"
#include "os/OS_X11Display.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <string>

namespace os::sdl {
namespace {
// Windows belong to the main thread, so the count needs no lock.
int g_videoUsers = 0;
int g_videoStarts = 0;
bool g_displayUnavailable = false;

// With no display named, SDL's search can only fail, and the display
// libraries it tries complain on stderr on their own (a Wayland client
// without a runtime folder, for one). The failure is reported once, with
// SDL's reason, by whoever asked for video.
class QuietSearch {
public:
    QuietSearch() {
        if (IsDisplayNamed()) {
            return;
        }
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        m_saved = null >= 0 ? ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0) : -1;
        if (m_saved >= 0) {
            std::fflush(stderr);
            ::dup2(null, STDERR_FILENO);
        }
        if (null >= 0) {
            ::close(null);
        }
    }
    ~QuietSearch() {
        if (m_saved >= 0) {
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
        }
    }
    QuietSearch(const QuietSearch&) = delete;
    QuietSearch& operator=(const QuietSearch&) = delete;

private:
    int m_saved = -1;
};

// SDL's drivers that show windows on a display, comma-separated. The
// off-screen and dummy drivers draw nowhere: SDL would fall back to them,
// and a program without a display would run unseen.
std::string DisplayDrivers() {
    std::string names;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const std::string name = SDL_GetVideoDriver(i);
        if (name != "offscreen" && name != "dummy" && name != "evdev") {
            names += (names.empty() ? "" : ",") + name;
        }
    }
    return names;
}

// A driver someone asked for (SDL_VIDEODRIVER) is used as asked; otherwise
// only a display will do. SDL's reason stays its last error.
bool StartVideo() {
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (asked != nullptr && asked[0] != '\0') {
        return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, DisplayDrivers().c_str());
    bool started = false;
    {
        const QuietSearch quiet;
        started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    const std::string reason = started ? std::string() : SDL_GetError();
    SDL_SetHint(SDL_HINT_VIDEODRIVER, nullptr);
    if (!started) {
        SDL_SetError("%s", reason.c_str());
    }
    return started;
}

}  // namespace

bool AcquireVideo() {
    if (g_videoUsers == 0) {
        // A close request goes through the window's close path only; without
        // this SDL would also queue a quit when the last window is closed.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        detail::x11::EndTheProcessOnALostDisplay();
        g_displayUnavailable = !StartVideo();
        if (g_displayUnavailable) {
            SetLastErrorWithText(ERROR_NO_DISPLAY, std::string("no display could be opened: ") + SDL_GetError());
            return false;
        }
        detail::WatchButtons();
        detail::x11::TolerateVanishedWindows();
        static const bool quitAtExit = std::atexit(&SDL_Quit) == 0;
        static_cast<void>(quitAtExit);
        ++g_videoStarts;
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

bool IsDisplayUnavailable() { return g_displayUnavailable; }

bool IsDisplayNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return true;
        }
    }
    return false;
}

int VideoStartCount() { return g_videoStarts; }

void SetLastErrorFromSdl() {
    const char* text = SDL_GetError();
    SetLastErrorWithText(ERROR_SDL_FAILURE, text != nullptr && text[0] != '\0' ? text : "SDL call failed");
}

}  // namespace os::sdl
