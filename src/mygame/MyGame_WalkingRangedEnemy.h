#pragma once

#include "mygame/MyGame_Enemy.h"

#include <vector>

// A walker: drifts left with the ground, faces the player and throws an
// arcing shot every 3 seconds, its throwing animation starting just before.
class WalkingRangedEnemy : public Enemy {
    TUN_DECLARE_CLASS(WalkingRangedEnemy);
    WalkingRangedEnemy() = default;
    explicit WalkingRangedEnemy(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    WalkingRangedEnemy(const WalkingRangedEnemy& other) = default;

    // The enemy part, then the throw timer.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    void OnStart() override;
    void Update(float dt) override;
    void OnDeath() override;

    // An arc shot from its hand to the player; none without one.
    void Throw();

    float GetThrowTimer() const { return m_throwTimer; }

private:
    float m_throwTimer = 0.0f;
};
