#pragma once

#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// A shot of a weapon; what it does is told by its current animation: 0 the
// rifle's round, 1 its impact, 2 the beam gun's shot, 3 the beam itself,
// 4 the scatter gun's pellet, 5 its impact.
class Bullet : public Tundra::Sprite {
    TUN_DECLARE_CLASS(Bullet);
    static constexpr int kRound = 0;
    static constexpr int kRoundImpact = 1;
    static constexpr int kBeamShot = 2;
    static constexpr int kBeam = 3;
    static constexpr int kPellet = 4;
    static constexpr int kPelletImpact = 5;

    Bullet() = default;
    explicit Bullet(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    Bullet(const Bullet& other);

    // The sprite part, then whether the animation played when paused.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Nothing while the game is paused.
    void Update(float dt) override;

    // Pausing stops the animation; resuming plays it again if it played.
    void SetPaused(bool paused);

private:
    void UpdateFlying(std::uint32_t weaponBit, int impact);
    void UpdateBeamShot();
    // Stops where it is and plays its impact once.
    void TurnIntoImpact(int impact);

    std::uint8_t m_wasPlaying = 0;
};

// A clone of the bullet template in the world layer, shown, at the position
// (previous position too) with the velocity; null without a template or a
// world layer.
Bullet* SpawnBullet(const Vector2D& position, const Vector2D& velocity);
