#pragma once

#include "os/OS_Window.h"

// Which window the calling thread's OpenGL context draws into. The renderer
// makes contexts current on windows; a window that goes away must first take
// the context off itself.
namespace os {

// kNoWindow when no context is current on this thread.
WindowHandle GetCurrentGLWindow();
// Leaves the thread without a current context when it is current on the window.
bool ReleaseGLContext(WindowHandle window);

namespace headless {
// The headless backend has no OpenGL; tests (and a headless renderer) mark
// which window a context is current on.
void SetCurrentGLWindow(WindowHandle window);
}  // namespace headless

}  // namespace os
