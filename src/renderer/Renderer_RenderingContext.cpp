#include "renderer/Renderer_RenderingContext.h"

#include "pal/PAL_ErrorReporter.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_ExtensionEntryPoints.h"
#include "renderer/Renderer_ExtensionList.h"

namespace Renderer {
namespace {
constexpr const char* kFile = "Renderer_AdapterInformation";
}  // namespace

void OpenGLExtensions::Fill() { AppendWGLExtensionNames(m_names, "Renderer::OpenGLExtensions::Fill"); }

RenderingContext::RenderingContext(PAL::Window* window) : m_window(window) {
    SetErrorContext("wglCreateContext", "Renderer::RenderingContext::RenderingContext", __LINE__, kFile);
    m_context = os::CreateGLContext(window->GetDeviceContext());
    ReportLastErrorAndExit(m_context == os::kNoGLContext);
}

RenderingContext::~RenderingContext() {
    SetErrorContext("wglMakeCurrent", "Renderer::RenderingContext::~RenderingContext", __LINE__, kFile);
    ReportLastErrorAndExit(!os::MakeGLContextCurrent(m_window->GetDeviceContext(), os::kNoGLContext));
    SetErrorContext("wglDeleteContext", "Renderer::RenderingContext::~RenderingContext", __LINE__, kFile);
    ReportLastErrorAndExit(!os::DeleteGLContext(m_context));
}

bool RenderingContext::MakeCurrent(PAL::Window* window) {
    if (window != nullptr) {
        SetErrorContext("wglMakeCurrent", "Renderer::RenderingContext::MakeCurrent", __LINE__, kFile);
        ReportLastErrorAndExit(!os::MakeGLContextCurrent(m_window->GetDeviceContext(), os::kNoGLContext));
        m_window = window;
    }
    SetErrorContext("wglMakeCurrent", "Renderer::RenderingContext::MakeCurrent", __LINE__, kFile);
    const bool current = os::MakeGLContextCurrent(m_window->GetDeviceContext(), m_context);
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
