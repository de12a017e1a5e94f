#pragma once

#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// The ordinary enemies' shot: kind 0 follows a quadratic arc, kind 1 flies
// on its rigid body. It explodes on a ground tile or an open player, drifts
// up and left while its explosion plays and goes at its end.
class Projectile : public Tundra::Sprite {
    TUN_DECLARE_CLASS(Projectile);
    static constexpr std::int32_t kArc = 0;
    static constexpr std::int32_t kStraight = 1;

    Projectile() = default;
    explicit Projectile(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part, kind and pause flag; the arc starts afresh: points
    // (0, 0), t 0, angle 0, spinning backwards.
    Projectile(const Projectile& other);

    // The sprite part, then the arc, t, spin angle, kind, spin direction and
    // the pause flag.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Nothing while the game is paused.
    void Update(float dt) override;

    // Pausing stops the explosion; resuming plays it again if it played.
    void SetPaused(bool paused);

    // From, control point and to of the arc: the control point lies midway
    // in x and above the higher end by the ends' distance. Points that are
    // not finite are refused.
    void SetArc(const Vector2D& from, const Vector2D& to);
    std::int32_t GetKind() const { return m_kind; }
    // Only the two kinds.
    void SetKind(std::int32_t kind) {
        if (kind == kArc || kind == kStraight) {
            m_kind = kind;
        }
    }
    const Vector2D& GetStartPoint() const { return m_p0; }
    const Vector2D& GetControlPoint() const { return m_p1; }
    const Vector2D& GetEndPoint() const { return m_p2; }
    float GetArcT() const { return m_t; }
    float GetSpinAngle() const { return m_spinAngle; }
    bool SpinsBackwards() const { return m_spinBackwards != 0; }

private:
    void Explode();
    void FollowArc(float dt);

    Vector2D m_p0;
    Vector2D m_p1;
    Vector2D m_p2;
    float m_t = 0.0f;
    float m_spinAngle = 0.0f;
    std::int32_t m_kind = kArc;
    std::uint8_t m_spinBackwards = 1;
    std::uint8_t m_wasPlaying = 0;
};

// A clone of the projectile template in the world layer at the position
// (previous position too), with the theme's animation of the kind, turned
// along the velocity its body flies with; null without a template or world,
// for another kind or points that are not finite.
Projectile* CreateProjectile(std::int32_t kind, Vector2D position, Vector2D velocity);
// As CreateProjectile without a velocity, flying an arc from one point to
// the other.
Projectile* CreateArcProjectile(std::int32_t kind, Vector2D from, Vector2D to);
