#pragma once

#include <cstdint>

namespace Engine {

// What the game's creation function asks of the display at start-up.
struct StartupSettings {
    // Client size in pixels, also the full-screen mode's size.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Hz.
    std::uint32_t refreshRate = 0;
    // 0 turns multisampling off.
    std::uint32_t multisampleCount = 0;
    bool fullScreen = false;
    bool verticalSync = false;
};

}  // namespace Engine
