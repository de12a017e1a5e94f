#include "renderer/Renderer_DummyRenderContext.h"

#include "os/OS_PixelFormat.h"
#include "pal/PAL_ErrorReporter.h"
#include "renderer/Renderer_DisplayModes.h"
#include "renderer/Renderer_ExtensionEntryPoints.h"

namespace Renderer {
namespace {
constexpr const char* kFile = "Renderer_AdapterInformation";
}  // namespace

DummyRenderContext::DummyRenderContext() : PAL::Window(100, 100) {
    const os::WindowHandle dc = GetDeviceContext();
    os::PixelFormatDescriptor descriptor;
    descriptor.size = os::kPixelFormatDescriptorSize;
    descriptor.version = 1;
    descriptor.flags =
        os::PFD_DRAW_TO_WINDOW | os::PFD_SUPPORT_OPENGL | os::PFD_DOUBLEBUFFER | os::PFD_GENERIC_ACCELERATED;
    descriptor.pixelType = os::PFD_TYPE_RGBA;
    descriptor.colorBits = static_cast<std::uint8_t>(DisplayModes::GetCurrentDisplayMode().colorBits);
    descriptor.depthBits = 24;
    descriptor.stencilBits = 8;

    SetErrorContext("ChoosePixelFormat", "Renderer::DummyRenderContext::DummyRenderContext", __LINE__, kFile);
    const std::int32_t format = os::ChoosePixelFormat(dc, &descriptor);
    ReportLastErrorAndExit(format == 0);
    SetErrorContext("SetPixelFormat", "Renderer::DummyRenderContext::DummyRenderContext", __LINE__, kFile);
    ReportLastErrorAndExit(!SetPixelFormat(format));
    SetErrorContext("wglCreateContext", "Renderer::DummyRenderContext::DummyRenderContext", __LINE__, kFile);
    m_context = os::CreateGLContext(dc);
    ReportLastErrorAndExit(m_context == os::kNoGLContext);
    SetErrorContext("wglMakeCurrent", "Renderer::DummyRenderContext::DummyRenderContext", __LINE__, kFile);
    ReportLastErrorAndExit(!os::MakeGLContextCurrent(dc, m_context));
    LoadGLExtensionEntryPoints();
}

DummyRenderContext::~DummyRenderContext() {
    SetErrorContext("wglMakeCurrent", "Renderer::DummyRenderContext::~DummyRenderContext", __LINE__, kFile);
    ReportLastErrorAndExit(!os::MakeGLContextCurrent(GetDeviceContext(), os::kNoGLContext));
    SetErrorContext("wglDeleteContext", "Renderer::DummyRenderContext::~DummyRenderContext", __LINE__, kFile);
    ReportLastErrorAndExit(!os::DeleteGLContext(m_context));
    m_previous.Restore();
    if (os::GetCurrentGLContext() != os::kNoGLContext) {
        LoadGLExtensionEntryPoints();
    }
}

}  // namespace Renderer
