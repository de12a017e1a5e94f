#pragma once

#include "os/OS_VirtualKeys.h"

// Test hooks: the keyboard, mouse buttons and cursor of the headless backend.
namespace os::headless {

// Held or let go at once, without the pump. Left and right Shift, Control
// and Alt also hold the shared key (VK_SHIFT ...).
void SetKey(VirtualKey key, bool down);
void SetToggle(VirtualKey key, bool on);
// A key or button event as the display sends it: queued, and taken by the
// next pump (a press and release within one pump is a tap).
void InjectKeyEvent(VirtualKey key, bool down);
// Every key up, every toggle off, no tap latched.
void ResetKeys();
// Cursor at (0, 0), display count 0.
void ResetCursor();

}  // namespace os::headless
