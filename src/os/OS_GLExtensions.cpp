#include "os/OS_GLExtensions.h"

#include "os/OS_Backend.h"
#include "os/OS_Error.h"
#include "os/OS_GLContext.h"
#include "os/OS_GLFunctions.h"
#include "os/OS_HeadlessDisplayHooks.h"
#include "os/OS_PixelFormat.h"
#include "os/OS_SdlVideo.h"

#include <SDL.h>

#include <cstring>
#include <string>

namespace os {
namespace {

bool g_headlessSwapControl = false;

// What a GL function needs of the current context: an extension, or a
// core version when extension is null.
struct GLFunction {
    const char* name;
    const char* extension;
    int major;
    int minor;
};

constexpr GLFunction kGLFunctions[] = {
    {"glActiveTextureARB", "GL_ARB_multitexture", 0, 0},
    {"glClientActiveTextureARB", "GL_ARB_multitexture", 0, 0},
    {"glSecondaryColorPointer", nullptr, 1, 4},
    {"glFogCoordPointer", nullptr, 1, 4},
    {"glSecondaryColorPointerEXT", "GL_EXT_secondary_color", 0, 0},
    {"glBindBufferARB", "GL_ARB_vertex_buffer_object", 0, 0},
    {"glBufferDataARB", "GL_ARB_vertex_buffer_object", 0, 0},
    {"glBufferSubDataARB", "GL_ARB_vertex_buffer_object", 0, 0},
    {"glDeleteBuffersARB", "GL_ARB_vertex_buffer_object", 0, 0},
    {"glGenBuffersARB", "GL_ARB_vertex_buffer_object", 0, 0},
    {"glMapBufferARB", "GL_ARB_vertex_buffer_object", 0, 0},
    {"glUnmapBufferARB", "GL_ARB_vertex_buffer_object", 0, 0},
};

bool HasCurrentContext() { return GetCurrentGLContext() != kNoGLContext; }

// Asks the driver whether the current context may set its swap interval,
// setting the interval it already has.
bool SwapControlAvailable() {
    if (IsHeadless()) {
        return g_headlessSwapControl;
    }
    return SDL_GL_SetSwapInterval(SDL_GL_GetSwapInterval()) == 0;
}

template <class Function>
ProcAddress AsProcAddress(Function function) {
    return reinterpret_cast<ProcAddress>(function);
}

ProcAddress WindowSystemFunction(const char* name) {
    if (std::strcmp(name, "wglGetExtensionsStringARB") == 0) {
        return AsProcAddress(&GetExtensionsStringARB);
    }
    if (std::strcmp(name, "wglGetExtensionsStringEXT") == 0) {
        return AsProcAddress(&GetExtensionsStringEXT);
    }
    if (std::strcmp(name, "wglChoosePixelFormatARB") == 0) {
        return AsProcAddress(&ChoosePixelFormatARB);
    }
    if (std::strcmp(name, "wglGetPixelFormatAttribivARB") == 0) {
        return AsProcAddress(&GetPixelFormatAttribivARB);
    }
    if (std::strcmp(name, "wglSwapIntervalEXT") == 0 && SwapControlAvailable()) {
        return AsProcAddress(&SwapIntervalEXT);
    }
    return nullptr;
}

ProcAddress GLFunctionAddress(const char* name) {
    for (const GLFunction& function : kGLFunctions) {
        if (std::strcmp(name, function.name) != 0) {
            continue;
        }
        const bool offered = function.extension != nullptr ? gl::IsExtensionAdvertised(function.extension)
                                                           : gl::IsVersionAtLeast(function.major, function.minor);
        return offered ? AsProcAddress(SDL_GL_GetProcAddress(name)) : nullptr;
    }
    return nullptr;
}

}  // namespace

ProcAddress GetProcAddress(const char* name) {
    ProcAddress address = nullptr;
    if (name != nullptr && HasCurrentContext()) {
        address = std::strncmp(name, "wgl", 3) == 0 ? WindowSystemFunction(name) : GLFunctionAddress(name);
    }
    if (address == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
    }
    return address;
}

const char* GetExtensionsStringARB(WindowHandle dc) {
    if (!IsWindow(dc)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return GetExtensionsStringEXT();
}

const char* GetExtensionsStringEXT() {
    if (!HasCurrentContext()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    thread_local std::string text;
    text = "WGL_ARB_extensions_string WGL_EXT_extensions_string WGL_ARB_pixel_format";
    if (detail::PixelFormats().size() > 1) {
        text += " WGL_ARB_multisample";
    }
    if (SwapControlAvailable()) {
        text += " WGL_EXT_swap_control";
    }
    return text.c_str();
}

bool SwapIntervalEXT(std::int32_t interval) {
    if (interval < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!HasCurrentContext()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (IsHeadless()) {
        if (!g_headlessSwapControl) {
            SetLastError(ERROR_PROC_NOT_FOUND);
        }
        return g_headlessSwapControl;
    }
    if (SDL_GL_SetSwapInterval(interval) != 0) {
        sdl::SetLastErrorFromSdl();
        return false;
    }
    return true;
}

namespace headless {
void SetSwapControl(bool available) { g_headlessSwapControl = available; }
}  // namespace headless

}  // namespace os
