#pragma once

#include "os/OS_Window.h"

#include <cstdint>
#include <vector>

// Pixel formats as the renderer chooses them: a numbered table of the
// drawable formats the driver offers, queried in the classic descriptor form
// and through the ARB attribute lists. Every format is RGBA 8/8/8/8 with a
// 24-bit depth and an 8-bit stencil buffer, double-buffered, swapped by
// exchange, fully accelerated. Format 1 has no multisampling; further
// formats carry the sample counts that a context could really be made with
// (probed once per video driver). A device context is the window itself.
namespace os {

// The descriptor fields the engine fills and reads.
struct PixelFormatDescriptor {
    std::uint16_t size = 0;
    std::uint16_t version = 0;
    std::uint32_t flags = 0;
    std::uint8_t pixelType = 0;
    std::uint8_t colorBits = 0;
    std::uint8_t redBits = 0;
    std::uint8_t greenBits = 0;
    std::uint8_t blueBits = 0;
    std::uint8_t alphaBits = 0;
    std::uint8_t depthBits = 0;
    std::uint8_t stencilBits = 0;
};

// The byte size callers pass for a descriptor.
constexpr std::uint32_t kPixelFormatDescriptorSize = 40;

constexpr std::uint32_t PFD_DOUBLEBUFFER = 0x00000001u;
constexpr std::uint32_t PFD_STEREO = 0x00000002u;
constexpr std::uint32_t PFD_DRAW_TO_WINDOW = 0x00000004u;
constexpr std::uint32_t PFD_DRAW_TO_BITMAP = 0x00000008u;
constexpr std::uint32_t PFD_SUPPORT_GDI = 0x00000010u;
constexpr std::uint32_t PFD_SUPPORT_OPENGL = 0x00000020u;
constexpr std::uint32_t PFD_GENERIC_FORMAT = 0x00000040u;
constexpr std::uint32_t PFD_SWAP_EXCHANGE = 0x00000200u;
constexpr std::uint32_t PFD_SWAP_COPY = 0x00000400u;
constexpr std::uint32_t PFD_GENERIC_ACCELERATED = 0x00001000u;
constexpr std::uint8_t PFD_TYPE_RGBA = 0;
constexpr std::uint8_t PFD_TYPE_COLORINDEX = 1;

constexpr std::int32_t WGL_NUMBER_PIXEL_FORMATS_ARB = 0x2000;
constexpr std::int32_t WGL_DRAW_TO_WINDOW_ARB = 0x2001;
constexpr std::int32_t WGL_ACCELERATION_ARB = 0x2003;
constexpr std::int32_t WGL_SWAP_METHOD_ARB = 0x2007;
constexpr std::int32_t WGL_SUPPORT_OPENGL_ARB = 0x2010;
constexpr std::int32_t WGL_DOUBLE_BUFFER_ARB = 0x2011;
constexpr std::int32_t WGL_PIXEL_TYPE_ARB = 0x2013;
constexpr std::int32_t WGL_COLOR_BITS_ARB = 0x2014;
constexpr std::int32_t WGL_RED_BITS_ARB = 0x2015;
constexpr std::int32_t WGL_GREEN_BITS_ARB = 0x2017;
constexpr std::int32_t WGL_BLUE_BITS_ARB = 0x2019;
constexpr std::int32_t WGL_ALPHA_BITS_ARB = 0x201B;
constexpr std::int32_t WGL_DEPTH_BITS_ARB = 0x2022;
constexpr std::int32_t WGL_STENCIL_BITS_ARB = 0x2023;
constexpr std::int32_t WGL_NO_ACCELERATION_ARB = 0x2025;
constexpr std::int32_t WGL_GENERIC_ACCELERATION_ARB = 0x2026;
constexpr std::int32_t WGL_FULL_ACCELERATION_ARB = 0x2027;
constexpr std::int32_t WGL_SWAP_EXCHANGE_ARB = 0x2028;
constexpr std::int32_t WGL_SWAP_COPY_ARB = 0x2029;
constexpr std::int32_t WGL_SWAP_UNDEFINED_ARB = 0x202A;
constexpr std::int32_t WGL_TYPE_RGBA_ARB = 0x202B;
constexpr std::int32_t WGL_TYPE_COLORINDEX_ARB = 0x202C;
constexpr std::int32_t WGL_SAMPLE_BUFFERS_ARB = 0x2041;
constexpr std::int32_t WGL_SAMPLES_ARB = 0x2042;

// The best format for the request, or 0 (last error set) when none can draw
// it: colour-index, stereo, bitmap or GDI drawing. Bit counts the table cannot
// meet still give the closest format rather than none, so the game still
// draws on a driver with fewer depth or stencil bits than it asks for.
std::int32_t ChoosePixelFormat(WindowHandle dc, const PixelFormatDescriptor* request);

// The number of formats; with a descriptor (bytes at least
// kPixelFormatDescriptorSize) also describes format `index`. 0 and the last
// error set for an unknown window, index or a short buffer.
std::int32_t DescribePixelFormat(WindowHandle dc, std::int32_t index, std::uint32_t bytes,
                                 PixelFormatDescriptor* descriptor);

// Formats matching a zero-terminated attribute list (colour, channel, depth,
// stencil bits and samples are minimums; the rest must be equal), fewest
// samples first, at most maxFormats of them. True with count 0 when none
// matches; false (last error set) for an unknown attribute or a null output.
bool ChoosePixelFormatARB(WindowHandle dc, const std::int32_t* intAttributes, const float* floatAttributes,
                          std::uint32_t maxFormats, std::int32_t* formats, std::uint32_t* count);

// One value per attribute for format `index`; WGL_NUMBER_PIXEL_FORMATS_ARB
// answers the table size for any valid index.
bool GetPixelFormatAttribivARB(WindowHandle dc, std::int32_t index, std::int32_t layer, std::uint32_t count,
                               const std::int32_t* attributes, std::int32_t* values);

namespace detail {

// One row of the table; internal to the OS layer.
struct PixelFormat {
    std::int32_t colorBits = 32;
    std::int32_t channelBits = 8;
    std::int32_t depthBits = 24;
    std::int32_t stencilBits = 8;
    std::int32_t samples = 0;

    friend bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

// The table of the selected backend and video driver; index 0 is format 1.
std::vector<PixelFormat> PixelFormats();
// False (and the last error set) when the index names no format. Format 1
// is always there and is answered without probing the driver.
bool FindPixelFormat(std::int32_t index, PixelFormat* format);
// Hands the format to SDL for the next window or context it makes.
void RequestSdlPixelFormat(const PixelFormat& format);

}  // namespace detail
}  // namespace os
