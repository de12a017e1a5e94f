#pragma once

#include <cstdint>

// The one owner of SDL's video subsystem. Every window, and a run's video
// session, holds it while it exists: the first acquisition starts SDL video,
// the last release stops video alone, so no display mode or grab outlives
// the windows while any other SDL subsystem someone started keeps running.
// SDL as a whole is shut down once, when the process exits, unless the
// display's connection was lost: that ends the process at once. Nothing
// else in the program starts or stops SDL video.
namespace os {

// Code of a failure that SDL described; the text is SDL's own message.
constexpr std::uint32_t ERROR_SDL_FAILURE = 0x20000001u;
// Video could not start: no display could be opened. The text gives SDL's reason.
constexpr std::uint32_t ERROR_NO_DISPLAY = 0x20000002u;

namespace sdl {

// False, with ERROR_NO_DISPLAY as the last error, when SDL video cannot start.
bool AcquireVideo();
void ReleaseVideo();
bool IsVideoActive();
// Whether the last attempt to start video failed: nothing can be shown.
bool IsDisplayUnavailable();
// Whether the environment names a display (DISPLAY or WAYLAND_DISPLAY).
bool IsDisplayNamed();

// Records SDL's current error text as the thread's last error.
void SetLastErrorFromSdl();

}  // namespace sdl
}  // namespace os
