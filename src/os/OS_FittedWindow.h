#pragma once

#include "os/OS_WindowSystem.h"

// Internal to the OS layer: a client area the work area cannot hold is shown
// smaller, its aspect kept, while the window keeps drawing at the client
// area's size (into a framebuffer object, OS_Framebuffer.h), as a window
// covering the desktop does (OS_FullScreenWindow.h).
namespace os::detail {

// Gives the window a client area of the size, shown as large as the work
// area beside the window's frame holds it. A window that cannot show its
// picture scaled (no OpenGL, or a context on it without framebuffer
// objects) is given the size as it is. A context current on the window is
// left to follow (FollowWindowDrawable).
bool SizeClient(WindowRecord& window, Size size);
// Fits a window again, after the window manager framed it (it does so a
// while after it is asked, and the frame takes room from the client area)
// or the work area changed. Nothing for a window covering the desktop.
void FitAgain(WindowRecord& window);

}  // namespace os::detail
