#pragma once

#include "os/OS_WindowSystem.h"

// Internal to the OS layer: full screen never changes the display's mode.
// The window covers the desktop as it is and keeps drawing at the chosen
// mode's size (into a framebuffer object, OS_Framebuffer.h), shown scaled
// to fit; leaving gives a window of that size drawn directly again.
namespace os::detail {

// fakeDesktop is the fake display's desktop size, the window then placed at
// (0, 0) without a frame; null lets SDL cover its own desktop. False, the
// last error set, when the window cannot cover it.
bool CoverDesktop(WindowRecord& window, Size drawable, const Size* fakeDesktop);
// A window of the drawable's size, decorated as its style says. Nothing
// for a window that does not cover the desktop.
void UncoverDesktop(WindowRecord& window);

// Implemented by the context layer: a context current on the window follows
// a change of its native window or its drawable, and whether one current
// on it can draw into a framebuffer object (true without one).
void FollowWindowDrawable(WindowHandle window);
bool CanDrawOffscreen(WindowHandle window);

}  // namespace os::detail
