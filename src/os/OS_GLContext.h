#pragma once

#include "os/OS_Window.h"

#include <cstdint>

// OpenGL rendering contexts on windows, as the renderer was written against
// them: made for the window's pixel format, made current on a window
// (which is its own device context), deleted. The layer tracks the calling
// thread's current (window, context) and switches the GL function table
// (OS_GLFunctions.h) with it. Contexts are compatibility profiles, so the
// fixed-function pipeline and glGetString(GL_EXTENSIONS) work.
//
// Failing calls return false (or kNoGLContext) and set the last error.
namespace os {

// A context handle; handles are not reused.
enum class GLContext : std::uint32_t {};
constexpr GLContext kNoGLContext{};

constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;

// A context for the window's pixel format (which must be set first). The
// thread's current context stays as it was.
GLContext CreateGLContext(WindowHandle dc);
// Makes the context current on the window, whose pixel format must be the
// one the context was made for. kNoGLContext leaves the thread without a
// current context, whatever the window.
bool MakeGLContextCurrent(WindowHandle dc, GLContext context);
// A current context is released first.
bool DeleteGLContext(GLContext context);

// kNoWindow when no context is current on this thread.
WindowHandle GetCurrentGLWindow();
GLContext GetCurrentGLContext();
// Leaves the thread without a current context when it is current on the window.
bool ReleaseGLContext(WindowHandle window);

// Shows the back buffer of the window the current context draws into.
bool SwapBuffers(WindowHandle dc);

namespace headless {
// The headless backend has no OpenGL; its contexts only record which window
// they are current on. Tests may also mark a window as current by hand.
void SetCurrentGLWindow(WindowHandle window);
}  // namespace headless

}  // namespace os
