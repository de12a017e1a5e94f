#pragma once

#include <cstdint>

// Integer screen and client coordinates as the window and cursor calls use
// them: x grows to the right, y downwards.
namespace os {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

// right and bottom lie just outside the rectangle.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }

    friend bool operator==(const Rect&, const Rect&) = default;
};

// Half-open: the left and top edges are inside, the right and bottom ones are not.
inline bool PtInRect(const Rect& rect, const Point& point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace os
