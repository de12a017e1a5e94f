#pragma once

#include "os/OS_Geometry.h"

#include <GL/gl.h>
#include <GL/glext.h>

// Internal to the OS layer. The drawable of a window shown full screen at
// the desktop size: a framebuffer object of the chosen mode's size in the
// context that draws into the window. Everything the engine draws and
// reads goes there; SwapBuffers shows it scaled into the window.
namespace os::detail {

// The framebuffer entry points, fetched while the context is current:
// video may stop and start again with the driver loaded elsewhere.
struct FramebufferFunctions {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
};

class DrawableFramebuffer {
public:
    // Whether the current context has framebuffer objects and blits.
    static bool Supported();

    // Binds the objects, made (or made anew at another size) in the current
    // context; false, the window's own framebuffer bound, when it cannot.
    bool Bind(Size size);
    // Deletes the objects (their context must be current) and binds the
    // window's own framebuffer.
    void Release();
    bool IsActive() const { return m_framebuffer != 0; }

    // Draws the picture into the window's back buffer as large as it fits,
    // between black bars, leaving the context's state as it was and the
    // objects bound again.
    void Present(Size window) const;

private:
    FramebufferFunctions m_functions;
    GLuint m_framebuffer = 0;
    GLuint m_color = 0;
    GLuint m_depthStencil = 0;
    Size m_size;
};

}  // namespace os::detail
