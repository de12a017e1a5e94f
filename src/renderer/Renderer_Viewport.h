#pragma once

#include <cstdint>

namespace Renderer {

// The window area drawn into (pixels from the bottom-left corner) and the
// depth range it maps to.
struct Viewport {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    float nearDepth = 0.0f;
    float farDepth = 1.0f;

    friend bool operator==(const Viewport&, const Viewport&) = default;
};

}  // namespace Renderer
