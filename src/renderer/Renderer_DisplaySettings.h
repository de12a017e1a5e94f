#pragma once

#include <cstdint>

namespace PAL {
class Window;
}

namespace Renderer {

// What the rendering application asks of the renderer: the back-buffer and
// full-screen mode size, refresh rate, multisampling, buffer depths, the
// window drawn into (not owned) and the full-screen and vertical-sync flags.
struct DisplaySettings {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t refreshRate = 0;
    std::uint32_t multisampleCount = 0;
    std::uint32_t colorBits = 0;
    std::uint32_t depthBits = 0;
    std::uint32_t stencilBits = 0;
    PAL::Window* window = nullptr;
    bool fullScreen = false;
    bool verticalSync = false;

    DisplaySettings() = default;
    // The size given, the refresh rate and colour bits of the desktop mode
    // (the adapter's when one exists), a 24-bit depth and 8-bit stencil
    // buffer, no multisampling, no window, both flags off.
    DisplaySettings(std::uint32_t width, std::uint32_t height);
};

}  // namespace Renderer
