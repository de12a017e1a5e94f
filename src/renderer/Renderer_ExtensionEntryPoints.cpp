#include "renderer/Renderer_ExtensionEntryPoints.h"

namespace Renderer {
namespace {

ExtensionEntryPoints g_entryPoints;

template <class Function>
void Fetch(Function& entry, const char* name) {
    entry = reinterpret_cast<Function>(os::GetProcAddress(name));
}

}  // namespace

const ExtensionEntryPoints& GetExtensionEntryPoints() { return g_entryPoints; }

void LoadGLExtensionEntryPoints() {
    ExtensionEntryPoints& e = g_entryPoints;
    Fetch(e.glActiveTextureARB, "glActiveTextureARB");
    Fetch(e.glClientActiveTextureARB, "glClientActiveTextureARB");
    Fetch(e.glSecondaryColorPointer, "glSecondaryColorPointer");
    Fetch(e.glFogCoordPointer, "glFogCoordPointer");
    Fetch(e.glSecondaryColorPointerEXT, "glSecondaryColorPointerEXT");
    Fetch(e.glBindBufferARB, "glBindBufferARB");
    Fetch(e.glBufferDataARB, "glBufferDataARB");
    Fetch(e.glBufferSubDataARB, "glBufferSubDataARB");
    Fetch(e.glDeleteBuffersARB, "glDeleteBuffersARB");
    Fetch(e.glGenBuffersARB, "glGenBuffersARB");
    Fetch(e.glMapBufferARB, "glMapBufferARB");
    Fetch(e.glUnmapBufferARB, "glUnmapBufferARB");
    Fetch(e.wglGetExtensionsStringEXT, "wglGetExtensionsStringEXT");
    Fetch(e.wglGetExtensionsStringARB, "wglGetExtensionsStringARB");
    Fetch(e.wglSwapIntervalEXT, "wglSwapIntervalEXT");
    Fetch(e.wglChoosePixelFormatARB, "wglChoosePixelFormatARB");
    Fetch(e.wglGetPixelFormatAttribivARB, "wglGetPixelFormatAttribivARB");
}

}  // namespace Renderer
