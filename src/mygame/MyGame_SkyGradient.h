#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// The stage's sky backdrop: one animation per stage theme.
class SkyGradient : public Tundra::Sprite {
    TUN_DECLARE_CLASS(SkyGradient);
    SkyGradient() = default;
    explicit SkyGradient(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
        : Sprite(animations) {}
    SkyGradient(const SkyGradient& other) : Sprite(other) {}

    // Shows the animation of the theme of the profile's current stage.
    void OnStart() override;
};
