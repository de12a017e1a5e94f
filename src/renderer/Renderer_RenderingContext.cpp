#include "renderer/Renderer_RenderingContext.h"

#include "pal/PAL_ErrorReporter.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_ExtensionEntryPoints.h"
#include "renderer/Renderer_ExtensionList.h"

namespace Renderer {
namespace {

constexpr const char* kFile = "Renderer_AdapterInformation";

// Without a window the context calls fail, and are reported, instead of crashing.
os::WindowHandle DeviceContextOf(const PAL::Window* window) {
    return window != nullptr ? window->GetDeviceContext() : os::kNoWindow;
}

}  // namespace

void OpenGLExtensions::Fill() { AppendWGLExtensionNames(m_names, "Renderer::OpenGLExtensions::Fill"); }

RenderingContext::RenderingContext(PAL::Window* window) : m_window(window) {
    SetErrorContext("wglCreateContext", "Renderer::RenderingContext::RenderingContext", __LINE__, kFile);
    m_context = os::CreateGLContext(DeviceContextOf(window));
    ReportLastErrorAndExit(m_context == os::kNoGLContext);
}

RenderingContext::~RenderingContext() {
    // Another context (a newer renderer's) may be current by now: it stays current.
    if (os::GetCurrentGLContext() == m_context) {
        SetErrorContext("wglMakeCurrent", "Renderer::RenderingContext::~RenderingContext", __LINE__, kFile);
        ReportLastErrorAndExit(!os::MakeGLContextCurrent(DeviceContextOf(m_window), os::kNoGLContext));
    }
    SetErrorContext("wglDeleteContext", "Renderer::RenderingContext::~RenderingContext", __LINE__, kFile);
    ReportLastErrorAndExit(!os::DeleteGLContext(m_context));
}

bool RenderingContext::MakeCurrent(PAL::Window* window) {
    if (window != nullptr) {
        SetErrorContext("wglMakeCurrent", "Renderer::RenderingContext::MakeCurrent", __LINE__, kFile);
        ReportLastErrorAndExit(!os::MakeGLContextCurrent(DeviceContextOf(m_window), os::kNoGLContext));
        m_window = window;
    }
    SetErrorContext("wglMakeCurrent", "Renderer::RenderingContext::MakeCurrent", __LINE__, kFile);
    const bool current = os::MakeGLContextCurrent(DeviceContextOf(m_window), m_context);
    ReportLastErrorAndExit(!current);
    if (!current) {
        return false;
    }
    LoadGLExtensionEntryPoints();
    m_extensions.Clear();
    m_extensions.Fill();
    return true;
}

}  // namespace Renderer
