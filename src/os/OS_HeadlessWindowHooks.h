#pragma once

#include "os/OS_Message.h"
#include "os/OS_Window.h"

#include <string>

// Test hooks of the headless window system: the virtual screen, events the
// window system would report, and which window a context is current on.
namespace os::headless {

// Work area of the virtual screen; 1920 x 1040 until set.
void SetWorkAreaSize(Size size);

// The window system reports an event for the window. Its state changes at
// once (a minimised window has a 0 x 0 client area); the message comes at
// the next pump. SizeChanged takes the new client size.
void InjectWindowEvent(WindowHandle window, WindowEvent event, Size size = {});
// The session asks the program to end (a signal, a log-out).
void InjectSystemQuit();

// How often a window class was registered in this process.
int WindowClassRegistrations();
// The icon file last given to the window ("" when none).
std::string WindowIconPath(WindowHandle window);

// Empties the event queue, drops a pending quit and restores the work area.
void ResetWindowSystem();

// Queues a message as if the system had posted it.
void PostMessage(const Message& message);

// The headless backend has no OpenGL; its contexts only record which window
// they are current on. Tests may also mark a window as current by hand.
void SetCurrentGLWindow(WindowHandle window);
}  // namespace os::headless
