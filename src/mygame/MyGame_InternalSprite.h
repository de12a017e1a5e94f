#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// A plain sprite with no behaviour of its own, for decoration the level
// content places.
class InternalSprite : public Tundra::Sprite {
    TUN_DECLARE_CLASS(InternalSprite);
    InternalSprite() = default;
    explicit InternalSprite(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
        : Sprite(animations) {}
    InternalSprite(const InternalSprite& other) = default;
};
