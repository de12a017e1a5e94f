#pragma once

#include "os/OS_Window.h"

#include <cstdint>

// OpenGL rendering contexts on windows: made for the window's pixel format,
// made current on a window (which is its own device context), deleted. A
// window doubles as its device context so that the renderer needs no second
// handle type. The layer tracks the calling thread's current (window,
// context) and switches the GL function table (OS_GLFunctions.h) with it.
// Contexts are compatibility profiles, so the fixed-function pipeline and
// glGetString(GL_EXTENSIONS) work. Contexts do not share objects.
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
// Released first when it is the thread's current context; another current
// context stays current.
bool DeleteGLContext(GLContext context);

// kNoWindow when no context is current on this thread.
WindowHandle GetCurrentGLWindow();
GLContext GetCurrentGLContext();
// Leaves the thread without a current context when it is current on the window.
bool ReleaseGLContext(WindowHandle window);

// Shows the back buffer of the window the current context draws into.
bool SwapBuffers(WindowHandle dc);

// Remembers the thread's current (window, context) so that code which has
// to make a context of its own current for a while can give the previous
// one back: Restore makes it current again, or leaves the thread without a
// current context when that window or context has gone since.
class SavedGLContext {
public:
    SavedGLContext() : m_window(GetCurrentGLWindow()), m_context(GetCurrentGLContext()) {}
    void Restore() const;

private:
    WindowHandle m_window;
    GLContext m_context;
};

}  // namespace os
