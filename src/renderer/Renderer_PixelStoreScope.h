#pragma once

#include "os/OS_GLFunctions.h"

namespace Renderer {

// Sets one pixel-store parameter (glPixelStorei) for as long as it lives and
// then gives the caller's value back, so that uploads, read-backs and raster
// draws leave the pixel-store settings as they found them.
class PixelStoreScope {
public:
    PixelStoreScope(GLenum parameter, GLint value) : m_parameter(parameter) {
        os::gl::GetIntegerv(parameter, &m_saved);
        os::gl::PixelStorei(parameter, value);
    }
    ~PixelStoreScope() { os::gl::PixelStorei(m_parameter, m_saved); }
    PixelStoreScope(const PixelStoreScope&) = delete;
    PixelStoreScope& operator=(const PixelStoreScope&) = delete;

private:
    GLenum m_parameter;
    // OpenGL's initial value, kept should the query not answer.
    GLint m_saved = m_parameter == GL_PACK_ALIGNMENT || m_parameter == GL_UNPACK_ALIGNMENT ? 4 : 0;
};

}  // namespace Renderer
