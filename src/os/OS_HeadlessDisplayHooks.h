#pragma once

#include "os/OS_DisplaySettings.h"

#include <cstdint>
#include <vector>

// Test hooks of the fake display and of headless OpenGL contexts: the
// listed modes, what the display refuses and records, the pixel formats
// and swap control the contexts pretend to have.
namespace os::headless {

// One change the fake display took: a mode set (with its flags) or the
// return to the desktop (restore true).
struct DisplayChange {
    DisplayMode mode;
    std::uint32_t flags = 0;
    bool restore = false;
};

// The fake display's modes and desktop mode. Until set: 800 x 600,
// 1024 x 768 and 1280 x 1024 at 32 bits with 60 and 75 Hz each, on a
// 1024 x 768, 32-bit, 60 Hz desktop.
void SetDisplayModes(const std::vector<DisplayMode>& modes, const DisplayMode& desktop);
// Listed modes the fake display nevertheless refuses to test or set.
void RefuseDisplayModes(const std::vector<DisplayMode>& modes);
const std::vector<DisplayChange>& DisplayChanges();
// Whether the SDL display is used on this backend and driver (false: the fake one).
bool UsesSdlDisplay();
// Back to the defaults, no refusals, no recorded changes.
void ResetDisplay();

// The sample counts headless contexts pretend to support beyond format 1;
// none until set. An empty list restores that.
void SetMultisampleCounts(const std::vector<std::int32_t>& counts);

// Whether headless contexts may change their swap interval (no, until set).
void SetSwapControl(bool available);
}  // namespace os::headless
