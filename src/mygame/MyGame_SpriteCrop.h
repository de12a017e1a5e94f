#pragma once

namespace Tundra {
class Sprite;
}

// Bars and gauges show a share of their frame by cropping the animation the
// sprite plays. The share drawn never leaves [0, 1], whatever the caller
// keeps: a flamer's charge runs above 1, and a wider crop would sample the
// neighbouring cell of the sheet.

// The fraction within [0, 1]; NaN gives 0.
float DrawnFraction(float fraction);

// Sets the current animation's frame width (height) to the pixels given,
// truncated toward zero and kept within what a frame size can hold; nothing
// without a render node or animation. The crop applies to every sprite
// playing that animation.
void CropFrameWidth(const Tundra::Sprite& sprite, float pixels);
void CropFrameHeight(const Tundra::Sprite& sprite, float pixels);
