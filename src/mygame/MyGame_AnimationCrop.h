#pragma once

#include "tundra/Tundra_Sprite.h"

// Bars and gauges show a fraction by cutting their current animation's frame
// to a width or height in pixels: only the left (or bottom) part is drawn.
// The change reaches every sprite that shares the animation object.

// The pixel count of a drawn size: truncated toward zero, with negative or
// NaN sizes 0 and huge ones held below the integer's range before the
// conversion.
std::uint32_t CroppedPixels(float size);

// Nothing without a render node or a current animation.
void CropFrameWidth(const Tundra::Sprite& sprite, float width);
void CropFrameHeight(const Tundra::Sprite& sprite, float height);
