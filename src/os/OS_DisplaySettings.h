#pragma once

#include <cstdint>

// Display modes of the primary display: listing them, testing them, full
// screen in one of them, and going back to the desktop. The display's own
// mode is never changed: full screen covers the desktop as it is and shows
// the chosen mode's picture scaled to fit. The real backend asks SDL; a
// fake display stands in on the headless backend and on video drivers that
// report no usable mode (the offscreen driver). The fake one lists a
// configurable table and desktop and records every change; where the main
// window is a real one, full screen covers the fake desktop with it.
namespace os {

struct DisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t frequency = 0;

    friend bool operator==(const DisplayMode&, const DisplayMode&) = default;
};

// The mode number that asks for the current desktop mode.
constexpr std::uint32_t ENUM_CURRENT_SETTINGS = 0xFFFFFFFFu;

// Change flags.
constexpr std::uint32_t CDS_TEST = 0x2;
constexpr std::uint32_t CDS_FULLSCREEN = 0x4;

// Change results.
constexpr std::int32_t DISP_CHANGE_SUCCESSFUL = 0;
constexpr std::int32_t DISP_CHANGE_FAILED = -1;
constexpr std::int32_t DISP_CHANGE_BADMODE = -2;
constexpr std::int32_t DISP_CHANGE_BADFLAGS = -4;

// Mode number `index` (0, 1, 2, ...), false past the last one: the
// display's modes, then the common sizes, larger or smaller than the
// desktop (full screen scales them to fit it), at its depth and rate. With
// ENUM_CURRENT_SETTINGS the desktop mode (false, last error set, when the
// display cannot be asked). Mode 0 reads the display's list afresh and the
// numbers after it answer from that reading, so one listing stays
// consistent and asks the display once (the very first call reads it
// whatever its number).
bool EnumDisplaySettings(std::uint32_t index, DisplayMode* mode);

// With CDS_TEST: DISP_CHANGE_SUCCESSFUL exactly when the mode is one of the
// listed modes. With CDS_FULLSCREEN: the program's main window (the window
// the current OpenGL context draws into, else the first shown window)
// covers the desktop without a frame, while its client area, OpenGL
// drawing, reading back and cursor positions keep the mode's size; each
// SwapBuffers shows the picture as large as it fits, aspect kept, between
// black bars. DISP_CHANGE_FAILED when a context current on the window has
// no framebuffer objects (a context made later without them leaves the
// window windowed). A null mode with flags 0 gives back a window of the
// mode's size, drawn directly.
std::int32_t ChangeDisplaySettings(const DisplayMode* mode, std::uint32_t flags);

// A mode as SDL reports it, in the units the display-mode table compares:
// bits per pixel counted from the bytes per pixel (SDL says 24 bits for
// 32-bit pixels), 60 Hz where SDL does not know the rate (0).
DisplayMode SdlDisplayMode(int width, int height, int bytesPerPixel, int refreshRate);

}  // namespace os
