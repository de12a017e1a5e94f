#pragma once

#include <cstdint>

namespace Renderer {

// A pixel format as the adapter lists it, or as the renderer asks for one
// (index 0 in a request). Swap method: 0 not specified, 1 exchange, 2 copy,
// 3 undefined.
struct PixelFormatDescription {
    std::uint32_t index = 0;
    std::uint32_t colorBits = 0;
    std::uint32_t redBits = 0;
    std::uint32_t greenBits = 0;
    std::uint32_t blueBits = 0;
    std::uint32_t alphaBits = 0;
    std::uint32_t depthBits = 0;
    std::uint32_t stencilBits = 0;
    std::uint32_t samples = 0;
    bool sampleBuffers = false;
    std::uint32_t swapMethod = 0;
};

}  // namespace Renderer
