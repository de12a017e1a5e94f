#include "mygame/MyGame_SpriteCrop.h"

#include "engine/Engine_Sprite.h"
#include "engine/Engine_SpriteAnimation.h"
#include "tundra/Tundra_Sprite.h"

#include <cmath>
#include <cstdint>

namespace {

// Far beyond any sheet, and exact in a float: a huge or NaN size from a
// stream never reaches the integer conversion.
constexpr float kLargestFrameSize = 16777216.0f;

std::uint32_t FramePixels(float pixels) {
    if (!(pixels > 0.0f)) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::trunc(pixels < kLargestFrameSize ? pixels : kLargestFrameSize));
}

Core::RefPtr<Engine::SpriteAnimation> CurrentAnimation(const Tundra::Sprite& sprite) {
    const Core::RefPtr<Engine::Sprite> node = sprite.GetEngineSprite();
    return node ? node->GetCurrentAnimation() : nullptr;
}

}  // namespace

float DrawnFraction(float fraction) {
    if (!(fraction > 0.0f)) {
        return 0.0f;
    }
    return fraction < 1.0f ? fraction : 1.0f;
}

void CropFrameWidth(const Tundra::Sprite& sprite, float pixels) {
    if (const Core::RefPtr<Engine::SpriteAnimation> animation = CurrentAnimation(sprite)) {
        animation->SetFrameWidth(FramePixels(pixels));
    }
}

void CropFrameHeight(const Tundra::Sprite& sprite, float pixels) {
    if (const Core::RefPtr<Engine::SpriteAnimation> animation = CurrentAnimation(sprite)) {
        animation->SetFrameHeight(FramePixels(pixels));
    }
}
