#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"

#include <cstdint>

namespace Renderer {

// What the screen-space raster overlay draws from a surface: its size and
// its RGBA pixels (width * 4 bytes per row, bottom row first), with a
// counted reference to the object that owns the pixels, so that they live
// until the frame is presented.
struct RasterImage {
    Core::RefPtr<Core::Object> owner;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    const std::uint8_t* pixels = nullptr;
};

}  // namespace Renderer
