#include "os/OS_DisplaySettings.h"

#include "os/OS_Backend.h"
#include "os/OS_Error.h"
#include "os/OS_FullScreenWindow.h"
#include "os/OS_HeadlessDisplayHooks.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_WindowSystem.h"

#include <SDL.h>

#include <algorithm>
#include <optional>

namespace os {
namespace {

struct FakeDisplay {
    std::vector<DisplayMode> modes;
    DisplayMode desktop;
    std::vector<DisplayMode> refused;
    std::vector<headless::DisplayChange> changes;
};

FakeDisplay DefaultFakeDisplay() {
    FakeDisplay display;
    for (const auto& [width, height] : {std::pair{800u, 600u}, {1024u, 768u}, {1280u, 1024u}}) {
        display.modes.push_back({width, height, 32, 60});
        display.modes.push_back({width, height, 32, 75});
    }
    display.desktop = {1024, 768, 32, 60};
    return display;
}

FakeDisplay& Fake() {
    static FakeDisplay display = DefaultFakeDisplay();
    return display;
}

// The window covering the desktop since the last full-screen change.
WindowHandle g_fullScreenWindow = kNoWindow;

// Keeps SDL video up for one call; the display can be asked before any window exists.
class VideoUse {
public:
    VideoUse() : m_active(!IsHeadless() && sdl::AcquireVideo()) {}
    ~VideoUse() {
        if (m_active) {
            sdl::ReleaseVideo();
        }
    }
    VideoUse(const VideoUse&) = delete;
    VideoUse& operator=(const VideoUse&) = delete;
    bool Active() const { return m_active; }

private:
    bool m_active;
};

DisplayMode FromSdl(const SDL_DisplayMode& mode) {
    return SdlDisplayMode(mode.w, mode.h, SDL_BYTESPERPIXEL(mode.format), mode.refresh_rate);
}

// Full screen scales what it shows to the desktop, down as well as up, so
// besides the display's own modes the common sizes can be chosen, at the
// desktop's depth and rate, whatever the desktop's size.
constexpr Size kScaledSizes[] = {{640, 480},   {800, 600},  {1024, 768}, {1280, 720}, {1280, 800},
                                 {1280, 1024}, {1366, 768}, {1600, 900}, {1920, 1080}};

// Modes of display 0 with a size, then the scaled sizes; none when the
// display lists none (the offscreen driver reports only 0 x 0).
std::vector<DisplayMode> SdlModes() {
    std::vector<DisplayMode> modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode native;
        if (SDL_GetDisplayMode(0, i, &native) == 0 && native.w > 0 && native.h > 0) {
            modes.push_back(FromSdl(native));
        }
    }
    SDL_DisplayMode native;
    if (modes.empty() || SDL_GetDesktopDisplayMode(0, &native) != 0) {
        return modes;
    }
    const DisplayMode desktop = FromSdl(native);
    for (const Size size : kScaledSizes) {
        const DisplayMode scaled{static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height),
                                 desktop.bitsPerPixel, desktop.frequency};
        if (std::find(modes.begin(), modes.end(), scaled) == modes.end()) {
            modes.push_back(scaled);
        }
    }
    return modes;
}

bool UseSdl(const VideoUse& video) { return video.Active() && !SdlModes().empty(); }

// The list that mode 0 read: SDL's modes, empty while the fake display
// stands in. Listing mode after mode then starts the display once, not once
// per mode.
std::optional<std::vector<DisplayMode>> g_listedModes;

bool FakeAccepts(const DisplayMode& mode) {
    const FakeDisplay& display = Fake();
    return std::find(display.modes.begin(), display.modes.end(), mode) != display.modes.end() &&
           std::find(display.refused.begin(), display.refused.end(), mode) == display.refused.end();
}

void LeaveFullScreen() {
    if (IsWindow(g_fullScreenWindow)) {
        detail::UncoverDesktop(*detail::FindWindow(g_fullScreenWindow));
    }
    g_fullScreenWindow = kNoWindow;
}

// The display's mode stays as it is: the main window covers the desktop and
// keeps drawing at the mode's size (see OS_FullScreenWindow.h). A context
// already drawing into the window must be able to draw off screen.
std::int32_t EnterFullScreen(detail::WindowRecord& window, const DisplayMode& mode, const Rect& desktop,
                             bool fakeDisplay) {
    if (!detail::CanDrawOffscreen(window.handle)) {
        return DISP_CHANGE_FAILED;
    }
    if (g_fullScreenWindow != window.handle) {
        LeaveFullScreen();
    }
    const Size drawable{static_cast<std::int32_t>(mode.width), static_cast<std::int32_t>(mode.height)};
    if (!detail::CoverDesktop(window, drawable, desktop, fakeDisplay)) {
        return DISP_CHANGE_FAILED;
    }
    g_fullScreenWindow = window.handle;
    return DISP_CHANGE_SUCCESSFUL;
}

// Without a real window to show (the headless backend) the fake display
// only records the change.
std::int32_t ChangeFake(const DisplayMode* mode, std::uint32_t flags) {
    FakeDisplay& display = Fake();
    display.changes.push_back({mode != nullptr ? *mode : DisplayMode{}, flags, mode == nullptr});
    if (mode == nullptr) {
        LeaveFullScreen();
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!FakeAccepts(*mode)) {
        return DISP_CHANGE_BADMODE;
    }
    detail::WindowRecord* window = flags == CDS_FULLSCREEN ? detail::MainWindow() : nullptr;
    if (window == nullptr || window->system->Native(*window) == nullptr) {
        return DISP_CHANGE_SUCCESSFUL;
    }
    const Rect desktop{0, 0, static_cast<std::int32_t>(display.desktop.width),
                       static_cast<std::int32_t>(display.desktop.height)};
    return EnterFullScreen(*window, *mode, desktop, true);
}

std::int32_t ChangeSdl(const DisplayMode* mode, std::uint32_t flags) {
    if (mode == nullptr) {
        LeaveFullScreen();
        return DISP_CHANGE_SUCCESSFUL;
    }
    const std::vector<DisplayMode> modes = SdlModes();
    if (std::find(modes.begin(), modes.end(), *mode) == modes.end()) {
        return DISP_CHANGE_BADMODE;
    }
    if (flags == CDS_TEST) {
        return DISP_CHANGE_SUCCESSFUL;
    }
    detail::WindowRecord* window = detail::MainWindow();
    SDL_Rect bounds;
    if (window == nullptr || SDL_GetDisplayBounds(0, &bounds) != 0) {
        return DISP_CHANGE_FAILED;
    }
    return EnterFullScreen(*window, *mode, {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h}, false);
}

}  // namespace

DisplayMode SdlDisplayMode(int width, int height, int bytesPerPixel, int refreshRate) {
    DisplayMode result;
    result.width = width > 0 ? static_cast<std::uint32_t>(width) : 0u;
    result.height = height > 0 ? static_cast<std::uint32_t>(height) : 0u;
    result.bitsPerPixel = bytesPerPixel > 0 ? static_cast<std::uint32_t>(bytesPerPixel) * 8u : 0u;
    result.frequency = refreshRate > 0 ? static_cast<std::uint32_t>(refreshRate) : 60u;
    return result;
}

bool EnumDisplaySettings(std::uint32_t index, DisplayMode* mode) {
    if (mode == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (index == ENUM_CURRENT_SETTINGS) {
        const VideoUse video;
        if (!UseSdl(video)) {
            *mode = Fake().desktop;
            return true;
        }
        SDL_DisplayMode desktop;
        if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
            sdl::SetLastErrorFromSdl();
            return false;
        }
        *mode = FromSdl(desktop);
        return true;
    }
    if (index == 0 || !g_listedModes) {
        const VideoUse video;
        g_listedModes = video.Active() ? SdlModes() : std::vector<DisplayMode>{};
    }
    if (g_listedModes->empty()) {
        const FakeDisplay& display = Fake();
        if (index >= display.modes.size()) {
            return false;
        }
        *mode = display.modes[index];
        return true;
    }
    if (index >= g_listedModes->size()) {
        return false;
    }
    *mode = (*g_listedModes)[index];
    return true;
}

std::int32_t ChangeDisplaySettings(const DisplayMode* mode, std::uint32_t flags) {
    const bool restore = mode == nullptr && flags == 0;
    const bool change = mode != nullptr && (flags == CDS_TEST || flags == CDS_FULLSCREEN);
    if (!restore && !change) {
        return DISP_CHANGE_BADFLAGS;
    }
    const VideoUse video;
    return UseSdl(video) ? ChangeSdl(mode, flags) : ChangeFake(mode, flags);
}

namespace headless {

void SetDisplayModes(const std::vector<DisplayMode>& modes, const DisplayMode& desktop) {
    Fake().modes = modes;
    Fake().desktop = desktop;
}

void RefuseDisplayModes(const std::vector<DisplayMode>& modes) { Fake().refused = modes; }

const std::vector<DisplayChange>& DisplayChanges() { return Fake().changes; }

bool UsesSdlDisplay() {
    const VideoUse video;
    return UseSdl(video);
}

void ResetDisplay() { Fake() = DefaultFakeDisplay(); }

}  // namespace headless
}  // namespace os
