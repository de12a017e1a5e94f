#pragma once

#include "math/Math_Vector2D.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_PathFollower.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

// A flyer: follows one of three paths (pattern 1 to 3) or circles around the
// first one in a ring of five (pattern 4), shoots at the player every few
// seconds, and falls when killed.
class FlyingRangedEnemy : public Enemy {
    TUN_DECLARE_CLASS(FlyingRangedEnemy);
    static constexpr std::int32_t kFlying = 0;
    static constexpr std::int32_t kDying = 2;
    static constexpr std::int32_t kRingPattern = 4;
    static constexpr std::size_t kPathCount = 3;

    // Followers without curves.
    FlyingRangedEnemy() = default;
    // The followers read the three flyer paths.
    explicit FlyingRangedEnemy(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // Shares the source's curves.
    FlyingRangedEnemy(const FlyingRangedEnemy& other) = default;

    // The enemy part, then the followers, formation angle, flight position,
    // state, shot timer and pattern.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    void OnStart() override;
    void Update(float dt) override;
    std::int32_t GetEnemyKind() const override { return 1; }
    void OnDeath() override;

    // A shot at the player, led by the player's motion; none without one.
    void Shoot();

    void SetFlightPattern(std::int32_t pattern) { m_flightPattern = pattern; }
    std::int32_t GetFlightPattern() const { return m_flightPattern; }
    // Radians around the ring's centre (pattern 4); not finite is refused.
    void SetFormationAngle(float radians) {
        if (std::isfinite(radians)) {
            m_formationAngle = radians;
        }
    }
    float GetFormationAngle() const { return m_formationAngle; }
    const Vector2D& GetFlightPosition() const { return m_flightPosition; }
    std::int32_t GetState() const { return m_state; }
    float GetShotTimer() const { return m_shotTimer; }
    const PathFollower& GetFollower(std::size_t index) const { return m_followers[index]; }

private:
    void Fly(float dt);
    void Fall();

    std::array<PathFollower, kPathCount> m_followers;
    float m_formationAngle = 0.0f;
    Vector2D m_flightPosition;
    std::int32_t m_state = kFlying;
    float m_shotTimer = 0.0f;
    std::int32_t m_flightPattern = 0;
};
