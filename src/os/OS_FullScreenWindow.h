#pragma once

#include "os/OS_WindowSystem.h"

// Internal to the OS layer: full screen never changes the display's mode.
// The window covers the desktop as it is and keeps drawing at the chosen
// mode's size (into a framebuffer object, OS_Framebuffer.h), shown scaled
// to fit; leaving gives a window of that size drawn directly again.
namespace os::detail {

// The window is placed over the desktop (screen coordinates) without a
// frame; on SDL's own display (fakeDisplay false) it also asks the window
// manager for full screen. False, the last error set, when it cannot.
bool CoverDesktop(WindowRecord& window, Size drawable, const Rect& desktop, bool fakeDisplay);
// A window with a client area of the drawable's size (shown smaller when
// the work area cannot hold it, OS_FittedWindow.h), decorated as its style
// says. Nothing for a window that does not cover the desktop.
void UncoverDesktop(WindowRecord& window);
// For a context that cannot draw the window's picture scaled: the window
// leaves full screen, if it covers the desktop, and is drawn directly at
// the drawable's size, whatever the work area holds.
void DrawUnscaled(WindowRecord& window);

// Implemented by the window system: the window leaves full screen, and
// its frame is the one it had windowed until it stands windowed again.
void NoteLeavingDesktop(WindowRecord& window);

// Implemented by the context layer: a context current on the window follows
// a change of its native window or its drawable, and whether one current
// on it can draw into a framebuffer object (true without one).
void FollowWindowDrawable(WindowHandle window);
bool CanDrawOffscreen(WindowHandle window);

}  // namespace os::detail
