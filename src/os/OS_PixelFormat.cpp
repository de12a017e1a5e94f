#include "os/OS_PixelFormat.h"

#include "os/OS_Backend.h"
#include "os/OS_Error.h"
#include "os/OS_HeadlessDisplayHooks.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_WindowSystem.h"

#include <SDL.h>

#include <algorithm>
#include <string>

namespace os {
namespace detail {
namespace {

std::vector<std::int32_t> g_headlessSampleCounts;

// What the multisample probe found for one video driver.
struct ProbeResult {
    std::string driver;
    std::vector<PixelFormat> formats;
};
ProbeResult g_probe;

// Format `index` (from 1) of the table; null, with the last error set, when
// the index names none.
const PixelFormat* FormatAt(const std::vector<PixelFormat>& table, std::int32_t index) {
    if (index < 1 || static_cast<std::size_t>(index) > table.size()) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return nullptr;
    }
    return &table[static_cast<std::size_t>(index) - 1];
}

std::vector<PixelFormat> WithSampleCounts(const std::vector<std::int32_t>& counts) {
    std::vector<PixelFormat> formats{PixelFormat{}};
    for (const std::int32_t samples : counts) {
        PixelFormat format;
        format.samples = samples;
        if (samples > 0 && std::find(formats.begin(), formats.end(), format) == formats.end()) {
            formats.push_back(format);
        }
    }
    return formats;
}

// Makes a throw-away window and context for each sample count and keeps the
// counts the driver really gave. The calling thread's context is put back.
std::vector<std::int32_t> ProbeSampleCounts() {
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
    std::vector<std::int32_t> counts;
    for (const std::int32_t wanted : {2, 4, 8}) {
        PixelFormat format;
        format.samples = wanted;
        RequestSdlPixelFormat(format);
        SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window == nullptr) {
            continue;
        }
        if (SDL_GLContext context = SDL_GL_CreateContext(window)) {
            int samples = 0;
            // Drivers may round the count up; the format shows what they gave.
            if (SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &samples) == 0 && samples > 1) {
                counts.push_back(samples);
            }
            SDL_GL_DeleteContext(context);
        }
        SDL_DestroyWindow(window);
    }
    RequestSdlPixelFormat(PixelFormat{});
    SDL_GL_MakeCurrent(previousWindow, previousContext);
    return counts;
}

std::vector<PixelFormat> SdlPixelFormats() {
    if (!sdl::AcquireVideo()) {
        return {PixelFormat{}};
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    const std::string name = driver != nullptr ? driver : "";
    if (g_probe.formats.empty() || g_probe.driver != name) {
        g_probe.driver = name;
        g_probe.formats = WithSampleCounts(ProbeSampleCounts());
    }
    std::vector<PixelFormat> formats = g_probe.formats;
    sdl::ReleaseVideo();
    return formats;
}

}  // namespace

std::vector<PixelFormat> PixelFormats() {
    return IsHeadless() ? WithSampleCounts(g_headlessSampleCounts) : SdlPixelFormats();
}

bool FindPixelFormat(std::int32_t index, PixelFormat* format) {
    if (index == 1) {
        *format = PixelFormat{};
        return true;
    }
    const std::vector<PixelFormat> formats = PixelFormats();
    const PixelFormat* found = FormatAt(formats, index);
    if (found == nullptr) {
        return false;
    }
    *format = *found;
    return true;
}

void RequestSdlPixelFormat(const PixelFormat& format) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, format.channelBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, format.channelBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, format.channelBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.channelBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, format.samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, format.samples);
}

}  // namespace detail

namespace {

using detail::PixelFormat;

// Flags a request may carry that no format of the table can honour.
constexpr std::uint32_t kUnsupportedFlags = PFD_STEREO | PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI;
constexpr std::uint32_t kFormatFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_SWAP_EXCHANGE;

bool IsWindowDc(WindowHandle dc) { return detail::FindWindow(dc) != nullptr; }

bool AttributeValue(const PixelFormat& format, std::int32_t attribute, std::int32_t* value) {
    switch (attribute) {
        case WGL_DRAW_TO_WINDOW_ARB:
        case WGL_SUPPORT_OPENGL_ARB:
        case WGL_DOUBLE_BUFFER_ARB: *value = 1; return true;
        case WGL_ACCELERATION_ARB: *value = WGL_FULL_ACCELERATION_ARB; return true;
        case WGL_SWAP_METHOD_ARB: *value = WGL_SWAP_EXCHANGE_ARB; return true;
        case WGL_PIXEL_TYPE_ARB: *value = WGL_TYPE_RGBA_ARB; return true;
        case WGL_COLOR_BITS_ARB: *value = format.colorBits; return true;
        case WGL_RED_BITS_ARB:
        case WGL_GREEN_BITS_ARB:
        case WGL_BLUE_BITS_ARB:
        case WGL_ALPHA_BITS_ARB: *value = format.channelBits; return true;
        case WGL_DEPTH_BITS_ARB: *value = format.depthBits; return true;
        case WGL_STENCIL_BITS_ARB: *value = format.stencilBits; return true;
        case WGL_SAMPLE_BUFFERS_ARB: *value = format.samples > 0 ? 1 : 0; return true;
        case WGL_SAMPLES_ARB: *value = format.samples; return true;
        default: return false;
    }
}

// Bit counts and samples are "at least"; everything else must be equal.
bool IsMinimumAttribute(std::int32_t attribute) {
    switch (attribute) {
        case WGL_COLOR_BITS_ARB:
        case WGL_RED_BITS_ARB:
        case WGL_GREEN_BITS_ARB:
        case WGL_BLUE_BITS_ARB:
        case WGL_ALPHA_BITS_ARB:
        case WGL_DEPTH_BITS_ARB:
        case WGL_STENCIL_BITS_ARB:
        case WGL_SAMPLES_ARB: return true;
        default: return false;
    }
}

// -1 when an attribute is unknown, else whether the format satisfies the list.
int Matches(const PixelFormat& format, const std::int32_t* attributes) {
    for (const std::int32_t* pair = attributes; pair != nullptr && pair[0] != 0; pair += 2) {
        std::int32_t value = 0;
        if (!AttributeValue(format, pair[0], &value)) {
            return -1;
        }
        const bool ok = IsMinimumAttribute(pair[0]) ? value >= pair[1] : value == pair[1];
        if (!ok) {
            return 0;
        }
    }
    return 1;
}

}  // namespace

std::int32_t ChoosePixelFormat(WindowHandle dc, const PixelFormatDescriptor* request) {
    if (!IsWindowDc(dc)) {
        return 0;
    }
    if (request == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (request->pixelType != PFD_TYPE_RGBA || (request->flags & kUnsupportedFlags) != 0) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return 0;
    }
    // Descriptor formats never multisample, and format 1 is the only one without.
    return 1;
}

std::int32_t DescribePixelFormat(WindowHandle dc, std::int32_t index, std::uint32_t bytes,
                                 PixelFormatDescriptor* descriptor) {
    if (!IsWindowDc(dc)) {
        return 0;
    }
    const std::vector<PixelFormat> formats = detail::PixelFormats();
    const auto count = static_cast<std::int32_t>(formats.size());
    if (descriptor == nullptr) {
        return count;
    }
    if (bytes < kPixelFormatDescriptorSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const PixelFormat* found = detail::FormatAt(formats, index);
    if (found == nullptr) {
        return 0;
    }
    const PixelFormat& format = *found;
    *descriptor = PixelFormatDescriptor{};
    descriptor->size = kPixelFormatDescriptorSize;
    descriptor->version = 1;
    // Never a generic format: llvmpipe renders in software, but it is the
    // driver here, and the renderer drops generic formats.
    descriptor->flags = kFormatFlags;
    descriptor->pixelType = PFD_TYPE_RGBA;
    descriptor->colorBits = static_cast<std::uint8_t>(format.colorBits);
    descriptor->redBits = descriptor->greenBits = descriptor->blueBits = descriptor->alphaBits =
        static_cast<std::uint8_t>(format.channelBits);
    descriptor->depthBits = static_cast<std::uint8_t>(format.depthBits);
    descriptor->stencilBits = static_cast<std::uint8_t>(format.stencilBits);
    return count;
}

bool ChoosePixelFormatARB(WindowHandle dc, const std::int32_t* intAttributes, const float* floatAttributes,
                          std::uint32_t maxFormats, std::int32_t* formats, std::uint32_t* count) {
    if (!IsWindowDc(dc)) {
        return false;
    }
    // No float attribute is known, so only an empty list is accepted.
    if (formats == nullptr || count == nullptr || (floatAttributes != nullptr && floatAttributes[0] != 0.0f)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::vector<PixelFormat> table = detail::PixelFormats();
    std::vector<std::int32_t> matching;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int match = Matches(table[i], intAttributes);
        if (match < 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        if (match == 1) {
            matching.push_back(static_cast<std::int32_t>(i + 1));
        }
    }
    std::stable_sort(matching.begin(), matching.end(), [&table](std::int32_t a, std::int32_t b) {
        return table[static_cast<std::size_t>(a) - 1].samples < table[static_cast<std::size_t>(b) - 1].samples;
    });
    const std::size_t written = std::min<std::size_t>(matching.size(), maxFormats);
    std::copy_n(matching.begin(), written, formats);
    *count = static_cast<std::uint32_t>(written);
    return true;
}

bool GetPixelFormatAttribivARB(WindowHandle dc, std::int32_t index, std::int32_t layer, std::uint32_t count,
                               const std::int32_t* attributes, std::int32_t* values) {
    if (!IsWindowDc(dc)) {
        return false;
    }
    if (layer != 0 || (count > 0 && (attributes == nullptr || values == nullptr))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::vector<PixelFormat> table = detail::PixelFormats();
    const PixelFormat* format = detail::FormatAt(table, index);
    if (format == nullptr) {
        return false;
    }
    // Answered into a copy first: a failure leaves the caller's values as they were.
    std::vector<std::int32_t> answers(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (attributes[i] == WGL_NUMBER_PIXEL_FORMATS_ARB) {
            answers[i] = static_cast<std::int32_t>(table.size());
        } else if (!AttributeValue(*format, attributes[i], &answers[i])) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
    }
    std::copy(answers.begin(), answers.end(), values);
    return true;
}

namespace headless {
void SetMultisampleCounts(const std::vector<std::int32_t>& counts) { detail::g_headlessSampleCounts = counts; }
}  // namespace headless

}  // namespace os
