#include "os/OS_Framebuffer.h"

#include "os/OS_GLFunctions.h"
#include "os/OS_Letterbox.h"

#include <SDL.h>

namespace os::detail {
namespace {

template <class Function>
void Load(Function& function, const char* name) {
    function = reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
}

FramebufferFunctions Loaded() {
    FramebufferFunctions f;
    Load(f.genFramebuffers, "glGenFramebuffers");
    Load(f.deleteFramebuffers, "glDeleteFramebuffers");
    Load(f.bindFramebuffer, "glBindFramebuffer");
    Load(f.genRenderbuffers, "glGenRenderbuffers");
    Load(f.deleteRenderbuffers, "glDeleteRenderbuffers");
    Load(f.bindRenderbuffer, "glBindRenderbuffer");
    Load(f.renderbufferStorage, "glRenderbufferStorage");
    Load(f.framebufferRenderbuffer, "glFramebufferRenderbuffer");
    Load(f.checkFramebufferStatus, "glCheckFramebufferStatus");
    Load(f.blitFramebuffer, "glBlitFramebuffer");
    return f;
}

// The current context advertises framebuffer objects and gave every entry point.
bool Usable(const FramebufferFunctions& f) {
    return gl::IsExtensionAdvertised("GL_ARB_framebuffer_object") && f.genFramebuffers != nullptr &&
           f.deleteFramebuffers != nullptr && f.bindFramebuffer != nullptr && f.genRenderbuffers != nullptr &&
           f.deleteRenderbuffers != nullptr && f.bindRenderbuffer != nullptr && f.renderbufferStorage != nullptr &&
           f.framebufferRenderbuffer != nullptr && f.checkFramebufferStatus != nullptr && f.blitFramebuffer != nullptr;
}

GLuint MakeRenderbuffer(const FramebufferFunctions& f, GLenum format, Size size, GLenum attachment) {
    GLuint buffer = 0;
    f.genRenderbuffers(1, &buffer);
    f.bindRenderbuffer(GL_RENDERBUFFER, buffer);
    f.renderbufferStorage(GL_RENDERBUFFER, format, size.width, size.height);
    f.framebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, buffer);
    return buffer;
}

}  // namespace

bool DrawableFramebuffer::Supported() { return Usable(Loaded()); }

bool DrawableFramebuffer::Bind(Size size) {
    if (m_framebuffer != 0 && m_size == size) {
        m_functions.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        gl::detail::SetDrawingToFramebuffer(true);
        return true;
    }
    Release();
    if (size.width <= 0 || size.height <= 0) {
        return false;
    }
    m_functions = Loaded();
    const FramebufferFunctions& f = m_functions;
    if (!Usable(f)) {
        return false;
    }
    GLint renderbuffer = 0;
    ::glGetIntegerv(GL_RENDERBUFFER_BINDING, &renderbuffer);
    f.genFramebuffers(1, &m_framebuffer);
    f.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    m_color = MakeRenderbuffer(f, GL_RGBA8, size, GL_COLOR_ATTACHMENT0);
    m_depthStencil = MakeRenderbuffer(f, GL_DEPTH24_STENCIL8, size, GL_DEPTH_STENCIL_ATTACHMENT);
    f.bindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(renderbuffer));
    m_size = size;
    if (f.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Release();
        return false;
    }
    gl::detail::SetDrawingToFramebuffer(true);
    return true;
}

void DrawableFramebuffer::Release() {
    if (m_framebuffer != 0) {
        const FramebufferFunctions& f = m_functions;
        f.bindFramebuffer(GL_FRAMEBUFFER, 0);
        f.deleteFramebuffers(1, &m_framebuffer);
        const GLuint buffers[] = {m_color, m_depthStencil};
        f.deleteRenderbuffers(2, buffers);
        gl::detail::SetDrawingToFramebuffer(false);
    }
    m_framebuffer = m_color = m_depthStencil = 0;
    m_size = {};
}

void DrawableFramebuffer::Present(Size window) const {
    if (m_framebuffer == 0) {
        return;
    }
    const FramebufferFunctions& f = m_functions;
    const GLboolean scissor = ::glIsEnabled(GL_SCISSOR_TEST);
    GLfloat clearColor[4];
    GLboolean colorMask[4];
    ::glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColor);
    ::glGetBooleanv(GL_COLOR_WRITEMASK, colorMask);

    f.bindFramebuffer(GL_FRAMEBUFFER, 0);
    f.bindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
    ::glDisable(GL_SCISSOR_TEST);
    ::glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    ::glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    ::glClear(GL_COLOR_BUFFER_BIT);
    // The area is in window coordinates (y down); GL counts rows from the bottom.
    const Rect area = LetterboxArea(m_size, window);
    f.blitFramebuffer(0, 0, m_size.width, m_size.height, area.left, window.height - area.bottom, area.right,
                      window.height - area.top, GL_COLOR_BUFFER_BIT, GL_LINEAR);

    f.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    ::glClearColor(clearColor[0], clearColor[1], clearColor[2], clearColor[3]);
    ::glColorMask(colorMask[0], colorMask[1], colorMask[2], colorMask[3]);
    if (scissor) {
        ::glEnable(GL_SCISSOR_TEST);
    }
}

}  // namespace os::detail
