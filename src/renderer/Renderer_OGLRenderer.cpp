#include "renderer/Renderer_OGLRenderer.h"

#include "os/OS_GLFunctions.h"
#include "pal/PAL_ErrorReporter.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_DepthBufferState.h"
#include "renderer/Renderer_Diagnostics.h"
#include "renderer/Renderer_ExtensionEntryPoints.h"
#include "renderer/Renderer_ExtensionList.h"
#include "renderer/Renderer_PixelStoreScope.h"
#include "renderer/Renderer_TextureManager.h"

#include <GL/glu.h>

#include <algorithm>

namespace Renderer {

namespace gl = os::gl;

namespace {

DisplayMode RequestedMode(const DisplaySettings& settings) {
    return {settings.width, settings.height, settings.colorBits, settings.refreshRate};
}

// Text GL or GLU returned, or "" for none.
const char* TextOf(const GLubyte* text) { return text != nullptr ? reinterpret_cast<const char*>(text) : ""; }

void WriteSection(std::FILE* file, const char* title, const char* rule, const char* text) {
    std::fprintf(file, "%s\n%s\n%s\n\n", title, rule, text);
}

void WriteList(std::FILE* file, const char* title, const char* rule, const Core::StringVector& names) {
    std::fprintf(file, "%s\n%s\n", title, rule);
    for (const Core::String& name : names) {
        std::fprintf(file, "%s\n", name.c_str());
    }
    std::fputs("\n", file);
}

}  // namespace

Core::RefPtr<IRenderer> CreateRenderer(const DisplaySettings& settings) {
    auto* renderer = TUN_NEW(OGLRenderer, settings);
    renderer->Install();
    return Core::RefPtr<IRenderer>(renderer);
}

OGLRenderer::OGLRenderer(const DisplaySettings& settings) : CachingRenderer(settings) {
    Adapter& adapter = m_adapter.GetAdapter();
    if (m_settings.fullScreen) {
        adapter.SetDisplayMode(RequestedMode(m_settings));
        // A switch that fails after its test passed leaves the display as it was, too.
        if (!adapter.TestDisplayMode() || !adapter.SetFullScreen(true)) {
            m_settings.fullScreen = false;
        }
    }

    PixelFormatDescription request;
    request.colorBits = m_settings.colorBits;
    request.depthBits = m_settings.depthBits;
    request.stencilBits = m_settings.stencilBits;
    request.samples = m_settings.multisampleCount;
    request.sampleBuffers = m_settings.multisampleCount != 0;
    request.swapMethod = 1;
    const std::int32_t format = adapter.GetPixelFormat(request);
    if (m_settings.window != nullptr) {
        m_settings.window->SetPixelFormat(format);
    }

    // The cache's textures leave the live renderer's context while it is
    // still current; they load again into this one at the end.
    TextureManager::UnloadAll();
    m_context = TUN_NEW(RenderingContext, m_settings.window);
    m_context->MakeCurrent(nullptr);
    FillExtensionLists();
    WriteInformationFile();
    DetectCapabilities();
    SetVSync();
    ApplyFixedSettings();
    SendCachedStates();

    // The cached matrices and viewport reach OpenGL; unit 0 ends up active.
    OGLRenderer::SetProjectionMatrix(m_projection);
    OGLRenderer::SetTextureMatrix(0, m_textureMatrices[0]);
    LoadModelView();
    SetViewport(m_viewport);
    TextureManager::Create(this);
}

OGLRenderer::~OGLRenderer() {
    Uninstall();
    TextureManager::Destroy(this);
    // Textures and buffers delete their OpenGL objects in the current context:
    // this renderer's, or the newer renderer's that took the cache over.
    ReleaseDeviceObjects();
    // Only this renderer's context is let go: a newer renderer's stays current.
    m_context = nullptr;
    if (m_settings.fullScreen) {
        m_adapter.GetAdapter().SetFullScreen(false);
    }
}

void OGLRenderer::FillExtensionLists() {
    m_glExtensions.clear();
    AppendExtensionNames(TextOf(gl::GetString(GL_EXTENSIONS)), m_glExtensions);
    m_gluExtensions.clear();
    AppendExtensionNames(TextOf(gluGetString(GLU_EXTENSIONS)), m_gluExtensions);
    // The context asked the window system when it was made current.
    m_wglExtensions = m_context->GetExtensions().GetNames();
}

void OGLRenderer::WriteInformationFile() const {
    const os::FilePointer diagnostic = OpenDiagnosticFile("\\OpenGL Information.txt");
    std::FILE* file = diagnostic.get();
    if (file == nullptr) {
        return;
    }
    WriteSection(file, "Vendor", "------", TextOf(gl::GetString(GL_VENDOR)));
    WriteSection(file, "Renderer", "--------", TextOf(gl::GetString(GL_RENDERER)));
    WriteSection(file, "OpenGL Version", "--------------", TextOf(gl::GetString(GL_VERSION)));
    WriteList(file, "GL Extensions", "-------------", m_glExtensions);
    WriteSection(file, "GLU Version", "-----------", TextOf(gluGetString(GLU_VERSION)));
    WriteList(file, "GLU Extensions", "--------------", m_gluExtensions);
    WriteList(file, "WGL Extensions", "--------------", m_wglExtensions);
}

void OGLRenderer::DetectCapabilities() {
    const ExtensionEntryPoints& entryPoints = GetExtensionEntryPoints();
    // Listed is not enough: a unit can only be selected through the entry points.
    m_multitexture = HasExtension(m_glExtensions, "GL_ARB_multitexture") &&
                     entryPoints.glActiveTextureARB != nullptr && entryPoints.glClientActiveTextureARB != nullptr;
    m_textureUnitCount = 1;
    if (m_multitexture) {
        GLint units = 1;
        gl::GetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
        m_textureUnitCount = std::clamp<GLint>(units, 1, static_cast<GLint>(kTextureSlots));
    }
    m_swapControl = HasExtension(m_wglExtensions, "WGL_EXT_swap_control") && entryPoints.wglSwapIntervalEXT != nullptr;
}

void OGLRenderer::SetVSync() {
    if (!m_swapControl) {
        return;
    }
    SetErrorContext("wglSwapIntervalEXT", "Renderer::OGLRenderer::SetVSync", __LINE__, "Renderer_OGLRenderer");
    ReportLastErrorAndExit(!GetExtensionEntryPoints().wglSwapIntervalEXT(m_settings.verticalSync ? 1 : 0));
}

void OGLRenderer::SetVSyncEnabled(bool enabled) {
    CachingRenderer::SetVSyncEnabled(enabled);
    SetVSync();
}

void OGLRenderer::ApplyFixedSettings() {
    gl::LightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    gl::LightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    for (const GLenum hint : {GL_FOG_HINT, GL_PERSPECTIVE_CORRECTION_HINT, GL_LINE_SMOOTH_HINT, GL_POINT_SMOOTH_HINT}) {
        gl::Hint(hint, GL_NICEST);
    }
    m_switches.SetEnabled(GL_LINE_SMOOTH, true);
    m_switches.SetEnabled(GL_POINT_SMOOTH, true);
}

void OGLRenderer::Present() {
    if (GetRasterCommandCount() > 0) {
        gl::MatrixMode(GL_MODELVIEW);
        gl::PushMatrix();
        gl::LoadIdentity();
        gl::MatrixMode(GL_PROJECTION);
        gl::PushMatrix();
        gl::LoadIdentity();
        gl::Ortho2D(0.0, m_viewport.width, 0.0, m_viewport.height);

        DepthBufferState saved;
        GetDepthBufferState(saved);
        DepthBufferState overlay;
        overlay.enabled = false;
        overlay.writeEnabled = false;
        overlay.compareFunction = 1;
        SetDepthBufferState(overlay);
        ExecuteRasterCommands();
        SetDepthBufferState(saved);

        gl::MatrixMode(GL_PROJECTION);
        gl::PopMatrix();
        gl::MatrixMode(GL_MODELVIEW);
        gl::PopMatrix();
    }
    if (m_settings.window != nullptr) {
        os::SwapBuffers(m_settings.window->GetDeviceContext());
    }
}

void OGLRenderer::ReadPixels(std::uint8_t* buffer) {
    if (buffer == nullptr) {
        return;
    }
    // Rows are packed, so width * height * 3 bytes hold the picture for any
    // width (the default alignment of 4 would pad rows of odd widths).
    const PixelStoreScope packedRows(GL_PACK_ALIGNMENT, 1);
    gl::ReadBuffer(GL_BACK);
    gl::ReadPixels(0, 0, static_cast<GLsizei>(m_settings.width), static_cast<GLsizei>(m_settings.height), GL_RGB,
                   GL_UNSIGNED_BYTE, buffer);
}

void OGLRenderer::ToggleFullScreen() {
    if (m_settings.fullScreen) {
        GoWindowed();
    } else {
        GoFullScreen();
    }
    // The window's area is redrawn by the next frame anyway; nothing to invalidate.
    SetVSync();
}

void OGLRenderer::GoWindowed() {
    gl::Finish();
    m_adapter.GetAdapter().SetFullScreen(false);
    if (PAL::Window* window = m_settings.window) {
        window->SetDecorated(true);
        window->SetClientSize(static_cast<std::int32_t>(m_settings.width), static_cast<std::int32_t>(m_settings.height));
        window->SetPosition(m_savedWindowX, m_savedWindowY);
        window->SetVisible(true);
        window->SetTopMost(false);
    }
    m_settings.fullScreen = false;
}

void OGLRenderer::GoFullScreen() {
    Adapter& adapter = m_adapter.GetAdapter();
    adapter.SetDisplayMode(RequestedMode(m_settings));
    if (!adapter.TestDisplayMode()) {
        return;
    }
    gl::Finish();
    PAL::Window* window = m_settings.window;
    if (window != nullptr) {
        window->GetPosition(&m_savedWindowX, &m_savedWindowY);
        window->SetVisible(false);
    }
    if (!adapter.SetFullScreen(true)) {
        // The display refused after all: the window comes back as it was.
        if (window != nullptr) {
            window->SetVisible(true);
        }
        return;
    }
    if (window != nullptr) {
        window->SetDecorated(false);
        window->SetPosition(0, 0);
        window->SetClientSize(static_cast<std::int32_t>(m_settings.width), static_cast<std::int32_t>(m_settings.height));
        window->SetVisible(true);
        window->SetTopMost(true);
    }
    m_settings.fullScreen = true;
}

}  // namespace Renderer
