#pragma once

#include "os/OS_GLExtensions.h"
#include "os/OS_PixelFormat.h"

#include <GL/gl.h>
#include <GL/glext.h>

// The process-wide table of extension entry points, fetched by name each
// time a context has just been made current. An entry the current context
// does not offer is null.
namespace Renderer {

struct ExtensionEntryPoints {
    PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
    PFNGLSECONDARYCOLORPOINTERPROC glSecondaryColorPointer = nullptr;
    PFNGLFOGCOORDPOINTERPROC glFogCoordPointer = nullptr;
    PFNGLSECONDARYCOLORPOINTEREXTPROC glSecondaryColorPointerEXT = nullptr;
    PFNGLBINDBUFFERARBPROC glBindBufferARB = nullptr;
    PFNGLBUFFERDATAARBPROC glBufferDataARB = nullptr;
    PFNGLBUFFERSUBDATAARBPROC glBufferSubDataARB = nullptr;
    PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB = nullptr;
    PFNGLGENBUFFERSARBPROC glGenBuffersARB = nullptr;
    PFNGLMAPBUFFERARBPROC glMapBufferARB = nullptr;
    PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB = nullptr;
    decltype(&os::GetExtensionsStringEXT) wglGetExtensionsStringEXT = nullptr;
    decltype(&os::GetExtensionsStringARB) wglGetExtensionsStringARB = nullptr;
    decltype(&os::SwapIntervalEXT) wglSwapIntervalEXT = nullptr;
    decltype(&os::ChoosePixelFormatARB) wglChoosePixelFormatARB = nullptr;
    decltype(&os::GetPixelFormatAttribivARB) wglGetPixelFormatAttribivARB = nullptr;
};

const ExtensionEntryPoints& GetExtensionEntryPoints();

// Fetches every entry, in the order of the table, with wglGetProcAddress.
void LoadGLExtensionEntryPoints();

}  // namespace Renderer
