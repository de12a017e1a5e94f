#pragma once

#include "core/Core_Object.h"
#include "core/Core_String.h"
#include "os/OS_GLContext.h"

namespace PAL {
class Window;
}

namespace Renderer {

// The window-system extension names of the current context.
class OpenGLExtensions {
public:
    void Fill();
    void Clear() { m_names.clear(); }
    const Core::StringVector& GetNames() const { return m_names; }

private:
    Core::StringVector m_names;
};

// The OpenGL context of a window (which must have its pixel format). It is
// taken off the thread when it goes only if it is the current one.
class RenderingContext : public Core::Object {
public:
    explicit RenderingContext(PAL::Window* window);
    ~RenderingContext() override;
    RenderingContext(const RenderingContext&) = delete;
    RenderingContext& operator=(const RenderingContext&) = delete;

    // Makes the context current, on the given window when there is one (the
    // context is taken off the old window first). Then the extension entry
    // points and names are fetched for it. False when it could not be made
    // current.
    bool MakeCurrent(PAL::Window* window);

    const OpenGLExtensions& GetExtensions() const { return m_extensions; }

private:
    OpenGLExtensions m_extensions;
    PAL::Window* m_window;
    os::GLContext m_context = os::kNoGLContext;
};

}  // namespace Renderer
