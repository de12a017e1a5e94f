#pragma once

#include "mygame/MyGame_Enemy.h"

#include <vector>

// A spike rolled by physics: it drifts left, spins faster the faster it
// rolls and hurts the player every frame they touch.
class RollingSpike : public Enemy {
    TUN_DECLARE_CLASS(RollingSpike);
    RollingSpike() = default;
    explicit RollingSpike(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    RollingSpike(const RollingSpike& other) = default;

    void Update(float dt) override;
    std::int32_t GetEnemyKind() const override { return 2; }
    void OnDeath() override;
};
