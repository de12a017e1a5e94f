#include "renderer/Renderer_Adapter.h"

#include "os/OS_DisplaySettings.h"
#include "os/OS_PixelFormat.h"
#include "pal/PAL_ErrorReporter.h"
#include "renderer/Renderer_DummyRenderContext.h"
#include "renderer/Renderer_ExtensionEntryPoints.h"
#include "renderer/Renderer_ExtensionList.h"

#include <algorithm>
#include <array>

namespace Renderer {
namespace {

constexpr const char* kFile = "Renderer_AdapterInformation";

// The shared adapter; it owns nothing.
Adapter* g_adapter = nullptr;

os::DisplayMode ToOs(const DisplayMode& mode) {
    return {mode.width, mode.height, mode.colorBits, mode.refreshRate};
}

// The WGL swap method of each engine swap method (0 not specified, 1
// exchange, 2 copy, 3 undefined).
constexpr std::array<std::int32_t, 4> kWglSwapMethods{0, os::WGL_SWAP_EXCHANGE_ARB, os::WGL_SWAP_COPY_ARB,
                                                       os::WGL_SWAP_UNDEFINED_ARB};

std::uint32_t SwapMethodOf(std::int32_t wglMethod) {
    const auto found = std::find(kWglSwapMethods.begin() + 1, kWglSwapMethods.end(), wglMethod);
    return found != kWglSwapMethods.end() ? static_cast<std::uint32_t>(found - kWglSwapMethods.begin()) : 0;
}

std::int32_t WglSwapMethod(std::uint32_t swapMethod) {
    return swapMethod < kWglSwapMethods.size() ? kWglSwapMethods[swapMethod] : 0;
}

// The attributes read for each format, in their order.
enum FormatAttribute : std::size_t {
    kDrawToWindow,
    kAcceleration,
    kSwapMethod,
    kSupportOpenGL,
    kDoubleBuffer,
    kPixelType,
    kColorBits,
    kRedBits,
    kGreenBits,
    kBlueBits,
    kAlphaBits,
    kDepthBits,
    kStencilBits,
    kSampleBuffers,
    kSamples,
    kFormatAttributeCount
};

std::int32_t AsInt(std::uint32_t value) { return static_cast<std::int32_t>(std::min<std::uint32_t>(value, INT32_MAX)); }

}  // namespace

Adapter::Adapter() {
    m_displayModes.Enumerate();
    m_desktopMode = DisplayModes::GetCurrentDisplayMode();
    const DummyRenderContext dummy;
    AppendWGLExtensionNames(m_wglExtensions, "Renderer::Adapter::FillWGLExtensions");
    m_swapControl = HasExtension(m_wglExtensions, "WGL_EXT_swap_control");
    m_multisample = HasExtension(m_wglExtensions, "WGL_ARB_multisample");
    if (UsesExtendedPixelFormats()) {
        FillExtendedPixelFormats(dummy.GetDeviceContext());
    } else {
        FillNormalPixelFormats(dummy.GetDeviceContext());
    }
}

Adapter::~Adapter() {
    if (g_adapter == this) {
        g_adapter = nullptr;
    }
}

Core::RefPtr<Adapter> CreateAdapter() {
    Core::RefPtr<Adapter> adapter(TUN_NEW(Adapter));
    g_adapter = adapter.Get();
    return adapter;
}

Core::RefPtr<Adapter> GetAdapter() { return Core::RefPtr<Adapter>(g_adapter); }

void Adapter::SetDisplayMode(const DisplayMode& mode) { m_requestedMode = mode; }

bool Adapter::ChangeToClosestMode(std::uint32_t flags) const {
    const os::DisplayMode closest = ToOs(m_displayModes.FindClosestMode(m_requestedMode));
    return os::ChangeDisplaySettings(&closest, flags) == os::DISP_CHANGE_SUCCESSFUL;
}

bool Adapter::TestDisplayMode() const { return ChangeToClosestMode(os::CDS_TEST); }

bool Adapter::SetFullScreen(bool on) {
    if (on) {
        if (m_displayModeChanged || !TestDisplayMode() || !ChangeToClosestMode(os::CDS_FULLSCREEN)) {
            return false;
        }
        m_displayModeChanged = true;
        return true;
    }
    if (!m_displayModeChanged) {
        return false;
    }
    if (os::ChangeDisplaySettings(nullptr, 0) != os::DISP_CHANGE_SUCCESSFUL) {
        return false;
    }
    m_displayModeChanged = false;
    return true;
}

bool Adapter::UsesExtendedPixelFormats() const {
    return m_multisample && HasExtension(m_wglExtensions, "WGL_ARB_pixel_format") &&
           GetExtensionEntryPoints().wglChoosePixelFormatARB != nullptr &&
           GetExtensionEntryPoints().wglGetPixelFormatAttribivARB != nullptr;
}

std::int32_t Adapter::GetPixelFormat(const PixelFormatDescription& request) const {
    return UsesExtendedPixelFormats() ? GetExtendedPixelFormat(request) : GetNormalPixelFormat(request);
}

void Adapter::FillNormalPixelFormats(os::WindowHandle dc) {
    SetErrorContext("DescribePixelFormat", "Renderer::Adapter::FillNormalPixelFormats", __LINE__, kFile);
    const std::int32_t count = os::DescribePixelFormat(dc, 1, 0, nullptr);
    ReportLastErrorAndExit(count == 0);
    constexpr std::uint32_t kRequired = os::PFD_DOUBLEBUFFER | os::PFD_SUPPORT_OPENGL | os::PFD_DRAW_TO_WINDOW;
    constexpr std::uint32_t kGeneric = os::PFD_GENERIC_ACCELERATED | os::PFD_GENERIC_FORMAT;
    for (std::int32_t index = 1; index <= count; ++index) {
        os::PixelFormatDescriptor descriptor;
        SetErrorContext("DescribePixelFormat", "Renderer::Adapter::FillNormalPixelFormats", __LINE__, kFile);
        ReportLastErrorAndExit(
            os::DescribePixelFormat(dc, index, os::kPixelFormatDescriptorSize, &descriptor) == 0);
        if ((descriptor.flags & kRequired) != kRequired || (descriptor.flags & kGeneric) != 0 ||
            descriptor.pixelType != os::PFD_TYPE_RGBA) {
            continue;
        }
        PixelFormatDescription format;
        format.index = static_cast<std::uint32_t>(index);
        format.colorBits = descriptor.colorBits;
        format.redBits = descriptor.redBits;
        format.greenBits = descriptor.greenBits;
        format.blueBits = descriptor.blueBits;
        format.alphaBits = descriptor.alphaBits;
        format.depthBits = descriptor.depthBits;
        format.stencilBits = descriptor.stencilBits;
        format.swapMethod = (descriptor.flags & os::PFD_SWAP_COPY) != 0       ? 2
                            : (descriptor.flags & os::PFD_SWAP_EXCHANGE) != 0 ? 1
                                                                               : 0;
        m_pixelFormats.push_back(format);
    }
}

void Adapter::FillExtendedPixelFormats(os::WindowHandle dc) {
    const auto getAttributes = GetExtensionEntryPoints().wglGetPixelFormatAttribivARB;
    const std::int32_t countAttribute = os::WGL_NUMBER_PIXEL_FORMATS_ARB;
    std::int32_t count = 0;
    SetErrorContext("wglGetPixelFormatAttribivARB", "Renderer::Adapter::FillExtendedPixelFormats", __LINE__, kFile);
    ReportLastErrorAndExit(!getAttributes(dc, 1, 0, 1, &countAttribute, &count));

    static constexpr std::array<std::int32_t, kFormatAttributeCount> kAttributes{
        os::WGL_DRAW_TO_WINDOW_ARB, os::WGL_ACCELERATION_ARB,  os::WGL_SWAP_METHOD_ARB,   os::WGL_SUPPORT_OPENGL_ARB,
        os::WGL_DOUBLE_BUFFER_ARB,  os::WGL_PIXEL_TYPE_ARB,    os::WGL_COLOR_BITS_ARB,    os::WGL_RED_BITS_ARB,
        os::WGL_GREEN_BITS_ARB,     os::WGL_BLUE_BITS_ARB,     os::WGL_ALPHA_BITS_ARB,    os::WGL_DEPTH_BITS_ARB,
        os::WGL_STENCIL_BITS_ARB,   os::WGL_SAMPLE_BUFFERS_ARB, os::WGL_SAMPLES_ARB};
    for (std::int32_t index = 1; index <= count; ++index) {
        std::array<std::int32_t, kAttributes.size()> v{};
        SetErrorContext("wglGetPixelFormatAttribivARB", "Renderer::Adapter::FillExtendedPixelFormats", __LINE__,
                        kFile);
        ReportLastErrorAndExit(!getAttributes(dc, index, 0, static_cast<std::uint32_t>(kAttributes.size()),
                                              kAttributes.data(), v.data()));
        const bool usable = v[kPixelType] == os::WGL_TYPE_RGBA_ARB &&
                            v[kAcceleration] == os::WGL_FULL_ACCELERATION_ARB && v[kSupportOpenGL] != 0 &&
                            v[kDoubleBuffer] != 0;
        if (!usable) {
            continue;
        }
        const auto bits = [&v](FormatAttribute attribute) { return static_cast<std::uint32_t>(v[attribute]); };
        PixelFormatDescription format;
        format.index = static_cast<std::uint32_t>(index);
        format.colorBits = bits(kColorBits);
        format.redBits = bits(kRedBits);
        format.greenBits = bits(kGreenBits);
        format.blueBits = bits(kBlueBits);
        format.alphaBits = bits(kAlphaBits);
        format.depthBits = bits(kDepthBits);
        format.stencilBits = bits(kStencilBits);
        format.swapMethod = SwapMethodOf(v[kSwapMethod]);
        if (m_multisample) {
            format.sampleBuffers = v[kSampleBuffers] != 0;
            format.samples = bits(kSamples);
            if (std::find(m_sampleCounts.begin(), m_sampleCounts.end(), format.samples) == m_sampleCounts.end()) {
                m_sampleCounts.push_back(format.samples);
            }
        }
        m_pixelFormats.push_back(format);
    }
    std::sort(m_sampleCounts.begin(), m_sampleCounts.end());
}

std::int32_t Adapter::GetNormalPixelFormat(const PixelFormatDescription& request) const {
    const DummyRenderContext dummy;
    os::PixelFormatDescriptor descriptor;
    descriptor.size = os::kPixelFormatDescriptorSize;
    descriptor.version = 1;
    descriptor.flags = os::PFD_DRAW_TO_WINDOW | os::PFD_SUPPORT_OPENGL | os::PFD_DOUBLEBUFFER;
    if (HasExtension(m_wglExtensions, "GL_WIN_swap_hint")) {
        descriptor.flags |= request.swapMethod == 1 ? os::PFD_SWAP_EXCHANGE
                            : request.swapMethod == 2 ? os::PFD_SWAP_COPY
                                                      : 0u;
    }
    descriptor.pixelType = os::PFD_TYPE_RGBA;
    descriptor.colorBits = static_cast<std::uint8_t>(std::min<std::uint32_t>(request.colorBits, 255));
    descriptor.depthBits = static_cast<std::uint8_t>(std::min<std::uint32_t>(request.depthBits, 255));
    descriptor.stencilBits = static_cast<std::uint8_t>(std::min<std::uint32_t>(request.stencilBits, 255));
    SetErrorContext("ChoosePixelFormat", "Renderer::Adapter::GetNormalPixelFormat", __LINE__, kFile);
    const std::int32_t format = os::ChoosePixelFormat(dummy.GetDeviceContext(), &descriptor);
    ReportLastErrorAndExit(format == 0);
    return format;
}

std::int32_t Adapter::GetExtendedPixelFormat(const PixelFormatDescription& request) const {
    const DummyRenderContext dummy;
    const auto choose = GetExtensionEntryPoints().wglChoosePixelFormatARB;
    std::array<std::int32_t, 31> attributes{
        os::WGL_DRAW_TO_WINDOW_ARB, 1,
        os::WGL_ACCELERATION_ARB,   os::WGL_FULL_ACCELERATION_ARB,
        os::WGL_SWAP_METHOD_ARB,    WglSwapMethod(request.swapMethod),
        os::WGL_SUPPORT_OPENGL_ARB, 1,
        os::WGL_DOUBLE_BUFFER_ARB,  1,
        os::WGL_PIXEL_TYPE_ARB,     os::WGL_TYPE_RGBA_ARB,
        os::WGL_COLOR_BITS_ARB,     AsInt(request.colorBits),
        os::WGL_RED_BITS_ARB,       AsInt(request.redBits),
        os::WGL_GREEN_BITS_ARB,     AsInt(request.greenBits),
        os::WGL_BLUE_BITS_ARB,      AsInt(request.blueBits),
        os::WGL_ALPHA_BITS_ARB,     AsInt(request.alphaBits),
        os::WGL_DEPTH_BITS_ARB,     AsInt(request.depthBits),
        os::WGL_STENCIL_BITS_ARB,   AsInt(request.stencilBits),
        os::WGL_SAMPLE_BUFFERS_ARB, request.sampleBuffers ? 1 : 0,
        os::WGL_SAMPLES_ARB,        AsInt(request.samples),
        0};
    // The requested swap method first, then each method in turn; the last
    // answer stands even when it found nothing.
    constexpr std::size_t kSwapValue = 5;
    std::int32_t format = 0;
    for (const std::int32_t swapMethod :
         {attributes[kSwapValue], os::WGL_SWAP_EXCHANGE_ARB, os::WGL_SWAP_COPY_ARB, os::WGL_SWAP_UNDEFINED_ARB}) {
        attributes[kSwapValue] = swapMethod;
        format = 0;
        std::uint32_t count = 0;
        SetErrorContext("wglChoosePixelFormatARB", "Renderer::Adapter::GetExtendedPixelFormat", __LINE__, kFile);
        const bool ok = choose(dummy.GetDeviceContext(), attributes.data(), nullptr, 1, &format, &count);
        ReportLastErrorAndExit(!ok);
        if (ok && format != 0) {
            return format;
        }
    }
    return format;
}

}  // namespace Renderer
