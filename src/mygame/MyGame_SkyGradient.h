#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// The stage's sky backdrop.
class SkyGradient : public Tundra::Sprite {
    TUN_DECLARE_CLASS(SkyGradient);
    SkyGradient() = default;
    explicit SkyGradient(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
        : Sprite(animations) {}
    SkyGradient(const SkyGradient& other) : Sprite(other) {}
};
