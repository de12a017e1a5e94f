#include "mygame/MyGame_AnimationCrop.h"

#include <cmath>

namespace {

// The largest f32 below 2^32: still an exact u32 after truncation.
constexpr float kLargestPixels = 4294967040.0f;

Core::RefPtr<Engine::SpriteAnimation> CurrentAnimation(const Tundra::Sprite& sprite) {
    const Core::RefPtr<Engine::Sprite> engineSprite = sprite.GetEngineSprite();
    return engineSprite ? engineSprite->GetCurrentAnimation() : nullptr;
}

}  // namespace

std::uint32_t CroppedPixels(float size) {
    if (!(size > 0.0f)) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::trunc(std::fmin(size, kLargestPixels)));
}

void CropFrameWidth(const Tundra::Sprite& sprite, float width) {
    if (const Core::RefPtr<Engine::SpriteAnimation> animation = CurrentAnimation(sprite)) {
        animation->SetFrameWidth(CroppedPixels(width));
    }
}

void CropFrameHeight(const Tundra::Sprite& sprite, float height) {
    if (const Core::RefPtr<Engine::SpriteAnimation> animation = CurrentAnimation(sprite)) {
        animation->SetFrameHeight(CroppedPixels(height));
    }
}
