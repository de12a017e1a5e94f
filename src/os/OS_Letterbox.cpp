#include "os/OS_Letterbox.h"

#include <algorithm>
#include <cstdint>

namespace os::detail {
namespace {

// value * numerator / denominator rounded down, also for negative values.
std::int64_t Scale(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    if (denominator <= 0) {
        return 0;
    }
    const std::int64_t product = value * numerator;
    const std::int64_t quotient = product / denominator;
    return product % denominator != 0 && product < 0 ? quotient - 1 : quotient;
}

// value * numerator / denominator rounded up.
std::int64_t ScaleUp(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    return -Scale(-value, numerator, denominator);
}

// Points come from callers that may pass anything; results saturate.
std::int32_t Saturate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

Rect LetterboxArea(Size picture, Size window) {
    if (picture.width <= 0 || picture.height <= 0) {
        return {};
    }
    // The side that runs out of room first decides the scale; the other is
    // scaled by the same factor, in integers so both ends agree exactly.
    Size shown{window.width, Saturate(Scale(window.width, picture.height, picture.width))};
    if (shown.height > window.height) {
        shown = {Saturate(Scale(window.height, picture.width, picture.height)), window.height};
    }
    const std::int32_t left = (window.width - shown.width) / 2;
    const std::int32_t top = (window.height - shown.height) / 2;
    return {left, top, left + shown.width, top + shown.height};
}

Point WindowToPicture(Point point, Size picture, Size window) {
    const Rect area = LetterboxArea(picture, window);
    return {Saturate(Scale(std::int64_t{point.x} - area.left, picture.width, area.Width())),
            Saturate(Scale(std::int64_t{point.y} - area.top, picture.height, area.Height()))};
}

// The first window pixel that reads back as the point: rounding down would
// land, when the picture is enlarged, on a pixel that reads as the one before.
Point PictureToWindow(Point point, Size picture, Size window) {
    const Rect area = LetterboxArea(picture, window);
    return {Saturate(area.left + ScaleUp(point.x, area.Width(), picture.width)),
            Saturate(area.top + ScaleUp(point.y, area.Height(), picture.height))};
}

}  // namespace os::detail
