#pragma once

#include "os/OS_GLContext.h"
#include "pal/PAL_Window.h"

namespace Renderer {

// A hidden 100 x 100 window with a pixel format and a current OpenGL
// context, made so that the window-system extensions and pixel formats can
// be asked before the real window has a format. The extension entry points
// are fetched for it. When it goes, the context that was current before it
// (the game's, during play) is current again, with its entry points.
class DummyRenderContext : public PAL::Window {
public:
    DummyRenderContext();
    ~DummyRenderContext() override;

private:
    os::SavedGLContext m_previous;
    os::GLContext m_context = os::kNoGLContext;
};

}  // namespace Renderer
