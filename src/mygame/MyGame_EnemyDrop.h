#pragma once

#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Sprite.h"

#include <vector>

// The pickup an ordinary enemy leaves: it drifts left with the ground, grows
// to full size and is worth the stage's number in drops to the player who
// touches it.
class EnemyDrop : public Tundra::Sprite {
    TUN_DECLARE_CLASS(EnemyDrop);
    EnemyDrop() = default;
    explicit EnemyDrop(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    EnemyDrop(const EnemyDrop& other);

    // Nothing while the game is paused; goes once outside the stage's area.
    void Update(float dt) override;

    // Pausing stops the animation; resuming always plays it again.
    void SetPaused(bool paused);
};

// A clone of the drop template in the world layer at the position, rising,
// at a quarter of its size; null without a template or a world layer.
EnemyDrop* SpawnEnemyDrop(Vector2D position);
