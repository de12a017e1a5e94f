#pragma once

#include <compare>
#include <cstdint>

namespace Renderer {

struct DisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t colorBits = 0;
    std::uint32_t refreshRate = 0;

    friend bool operator==(const DisplayMode&, const DisplayMode&) = default;
};

// What the adapter assumes until the system has said otherwise.
constexpr DisplayMode kDefaultDisplayMode{100, 100, 16, 60};

// A screen size, ordered by width, then height.
struct Resolution {
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    friend auto operator<=>(const Resolution&, const Resolution&) = default;
};

}  // namespace Renderer
