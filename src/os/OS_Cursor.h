#pragma once

#include "os/OS_Geometry.h"

#include <cstdint>

// The system cursor: its position on the screen and whether it is drawn.
// The real backend asks the X display where the pointer is, once a pump
// and again after the game's own warp; on drivers that hide the rest of the
// desktop, SDL's last position inside a window. The headless cursor sits
// where tests put it.
namespace os {

constexpr std::uint32_t CURSOR_SHOWING = 0x1;

struct CursorInfo {
    std::uint32_t flags = 0;  // CURSOR_SHOWING while the cursor is drawn
    Point position;
};

// Screen coordinates; false (position unchanged) when the display cannot tell.
bool GetCursorPos(Point* position);
bool SetCursorPos(std::int32_t x, std::int32_t y);
// Counts show requests up and hide requests down and returns the new count;
// the cursor is drawn while the count is 0 or more. The count starts at 0.
int ShowCursor(bool show);
bool GetCursorInfo(CursorInfo* info);

}  // namespace os
