#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// The arrow under a complete story line: it eases down and springs back up.
class DialogArrow : public Tundra::Sprite {
    TUN_DECLARE_CLASS(DialogArrow);
    DialogArrow() = default;
    explicit DialogArrow(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    DialogArrow(const DialogArrow& other) = default;

    void Update(float dt) override;
};
