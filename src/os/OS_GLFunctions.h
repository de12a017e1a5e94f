#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include <string>

// The OpenGL and GLU functions the engine calls, reached through one table.
// While a context made by this layer is current the entries are the
// driver's own functions; otherwise every entry is a stub that does
// nothing, returns zero and counts the call. A texture released after its
// renderer, for example, then deletes nothing instead of calling into a
// driver without a context.
//
// The table is one for the process while a current context belongs to a
// thread: GL is used only from the thread that made the context current (the
// main thread, which draws). Debug builds assert it on every call, and when
// a second thread makes a context current while another thread's is.
//
// Call as gl::Enable(GL_BLEND) after `namespace gl = os::gl;`.
#define TUN_GL_FUNCTIONS(X)                                                                                    \
    X(AlphaFunc) X(BindTexture) X(BlendFunc) X(Clear) X(ClearColor) X(ClearDepth) X(ClearStencil) X(Color4f)    \
    X(ColorMask) X(ColorPointer) X(CullFace) X(DeleteTextures) X(DepthFunc) X(DepthMask) X(DepthRange)          \
    X(Disable) X(DisableClientState) X(DrawArrays) X(DrawElements) X(DrawPixels) X(Enable) X(EnableClientState) \
    X(Finish) X(Flush) X(Fogf) X(Fogfv) X(Fogi) X(GenTextures) X(GetDoublev) X(GetFloatv) X(GetIntegerv)        \
    X(GetString)                                                                                                \
    X(Hint) X(LightModelf) X(LightModelfv) X(LightModeli) X(Lightf) X(Lightfv) X(LineStipple) X(LineWidth)     \
    X(LoadIdentity) X(LoadMatrixf) X(Materialf) X(Materialfv) X(MatrixMode) X(NormalPointer) X(PixelStorei)    \
    X(PixelZoom) X(PointSize) X(PolygonMode) X(PolygonOffset) X(PopMatrix) X(PushMatrix) X(RasterPos2i)        \
    X(ReadBuffer) X(ReadPixels) X(Rectf) X(Scissor) X(ShadeModel) X(StencilFunc) X(StencilMask) X(StencilOp)   \
    X(TexCoordPointer) X(TexEnvi) X(TexGenfv) X(TexGeni) X(TexImage2D) X(TexParameteri) X(VertexPointer)       \
    X(Viewport)

// The GLU functions that draw or upload (GLU's pure math is called directly).
#define TUN_GLU_FUNCTIONS(X) X(Build2DMipmaps) X(Ortho2D) X(ScaleImage)

namespace os::gl {

#define TUN_GL_DECLARE(name) extern decltype(&::gl##name) name;
#define TUN_GLU_DECLARE(name) extern decltype(&::glu##name) name;
TUN_GL_FUNCTIONS(TUN_GL_DECLARE)
TUN_GLU_FUNCTIONS(TUN_GLU_DECLARE)
#undef TUN_GL_DECLARE
#undef TUN_GLU_DECLARE

// glEnable or glDisable, as the flag says.
inline void SetEnabled(GLenum capability, bool enabled) {
    if (enabled) {
        Enable(capability);
    } else {
        Disable(capability);
    }
}

// Whether the current context lists the extension (after the test mask) and
// whether its version is at least major.minor. False without a live context.
bool IsExtensionAdvertised(const std::string& name);
bool IsVersionAtLeast(int major, int minor);

namespace detail {
// The context layer switches the table when the thread's current context changes.
void UseDriver(bool live);
// While the current context draws into the framebuffer object that stands
// in for a full-screen window, ReadBuffer's GL_BACK and GL_FRONT name it.
void SetDrawingToFramebuffer(bool drawing);
}  // namespace detail

}  // namespace os::gl
