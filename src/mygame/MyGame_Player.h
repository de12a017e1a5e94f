#pragma once

#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// The character the user steers: a sprite whose own movement writes its
// whole velocity to its body every frame. The level content places one
// object named "Player" in the title level and in a stage.
class Player : public Tundra::Sprite {
    TUN_DECLARE_CLASS(Player);
    Player();
    explicit Player(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    Player(const Player& other);

    void OnStart() override;
    void Update(float dt) override;

    const Vector2D& GetVelocity() const { return m_velocity; }
    bool IsFacingRight() const { return m_facingRight != 0; }
    std::int32_t GetRightStep() const { return m_rightStep; }
    std::int32_t GetLeftStep() const { return m_leftStep; }

protected:
    // Written to the rigid body every frame; y up.
    Vector2D m_velocity{0.0f, 0.0f};
    // 1 when the last horizontal input was Right alone.
    std::uint8_t m_facingRight = 0;
    std::uint8_t m_inAir = 0;
    // Horizontal speeds, in units of the game's move-speed factor.
    std::int32_t m_rightStep = 5;
    std::int32_t m_leftStep = -14;
};
