#include "mygame/MyGame_Projectile.h"

#include "core/Core_File.h"
#include "math/Math_Angles.h"
#include "mygame/MyGame_AnimationPause.h"
#include "mygame/MyGame_ArcFlight.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_ShotRules.h"
#include "mygame/MyGame_StageTheme.h"
#include "mygame/MyGame_WidgetClone.h"
#include "tundra/Tundra_CollisionQueries.h"

#include <algorithm>
#include <cmath>

TUN_DEFINE_CLASS(Projectile)

namespace {

constexpr float kPlayerDamage = 0.05f;
// The explosion drifts up and back with the ground.
constexpr float kExplosionRiseSpeed = 25.0f;
constexpr float kExplosionDriftSpeed = 100.0f;
// Arc parameter per second, and degrees of spin per second.
constexpr float kArcRate = 0.6f;
constexpr float kSpinSpeed = 1000.0f;

constexpr ShotArea kArea{-100.0f, 1100.0f, -100.0f, 1000.0f};

// The template's clone in the world layer at the position, with the
// theme's animation of the kind; null without a template or a world.
Projectile* PlaceProjectile(std::int32_t kind, const Vector2D& position) {
    if ((kind != Projectile::kArc && kind != Projectile::kStraight) || !Math::IsFinite(position)) {
        return nullptr;
    }
    auto* projectile = CloneTemplateToWorld<Projectile>(kProjectileTemplate);
    if (projectile == nullptr) {
        return nullptr;
    }
    projectile->SetPosition(position);
    projectile->SetOldPosition(position);
    projectile->SetCurrentAnimationIndex(kind + GetCurrentStageTheme() * 2, false);
    projectile->SetKind(kind);
    return projectile;
}

}  // namespace

Projectile::Projectile(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

Projectile::Projectile(const Projectile& other)
    : Sprite(other), m_kind(other.m_kind), m_wasPlaying(other.m_wasPlaying) {}

void Projectile::Save(Core::File& file) const {
    Sprite::Save(file);
    file << m_p0 << m_p1 << m_p2;
    file.WriteF32(m_t);
    file.WriteF32(m_spinAngle);
    file.WriteI32(m_kind);
    file.WriteU8(m_spinBackwards);
    file.WriteU8(m_wasPlaying);
}

void Projectile::Load(Core::File& file) {
    Sprite::Load(file);
    Vector2D p0 = m_p0;
    Vector2D p1 = m_p1;
    Vector2D p2 = m_p2;
    float t = m_t;
    float spinAngle = m_spinAngle;
    std::int32_t kind = m_kind;
    std::uint8_t spinBackwards = m_spinBackwards;
    std::uint8_t wasPlaying = m_wasPlaying;
    file >> p0 >> p1 >> p2;
    file.ReadF32(t);
    file.ReadF32(spinAngle);
    file.ReadI32(kind);
    file.ReadU8(spinBackwards);
    file.ReadU8(wasPlaying);
    if (file.HasFailed() || !Math::IsFinite(p0) || !Math::IsFinite(p1) || !Math::IsFinite(p2) || !std::isfinite(t) ||
        !std::isfinite(spinAngle) || (kind != kArc && kind != kStraight) || spinBackwards > 1 || wasPlaying > 1) {
        file.SetFailed();
        return;
    }
    m_p0 = p0;
    m_p1 = p1;
    m_p2 = p2;
    m_t = t;
    m_spinAngle = spinAngle;
    m_kind = kind;
    m_spinBackwards = spinBackwards;
    m_wasPlaying = wasPlaying;
}

void Projectile::Update(float dt) {
    Sprite::Update(dt);
    if (Globals().paused != 0 || IsDestroyRequested()) {
        return;
    }
    if (IsOutside(GetPosition(), kArea)) {
        Destroy();
        return;
    }
    const Collision2D::DynamicObject* collision = GetCollisionObject();
    if (Tundra::IsCollidedWithSprite(collision, "MapTileColliderTemplate", true)) {
        Explode();
    }
    if (HurtOpenPlayerOnContact(collision, kPlayerDamage)) {
        Explode();
    }
    if (IsPlaying()) {
        SetPosition({GetPositionX() - dt * kExplosionDriftSpeed, GetPositionY() + dt * kExplosionRiseSpeed});
    } else if (m_kind == kArc) {
        FollowArc(dt);
    }
    if (IsEndOfAnimation()) {
        SetVisible(false);
        Destroy();
    }
}

void Projectile::SetPaused(bool paused) { PauseAnimation(*this, paused, m_wasPlaying); }

void Projectile::SetArc(const Vector2D& from, const Vector2D& to) {
    if (!Math::IsFinite(from) || !Math::IsFinite(to)) {
        return;
    }
    m_p0 = from;
    m_p2 = to;
    const float distance = (m_p2 - m_p0).Length();
    m_p1 = {(m_p0.x + m_p2.x) * 0.5f, std::max(m_p0.y, m_p2.y) + distance};
    m_t = 0.0f;
    m_spinBackwards = to.x - from.x >= 0.0f ? 1 : 0;
}

void Projectile::Explode() {
    Play(true);
    SetVelocity({0.0f, 0.0f});
}

// Past t = 1 the shot keeps to the extended parabola until it hits something
// or leaves the area.
void Projectile::FollowArc(float dt) {
    SetPosition(ArcPoint(m_p0, m_p1, m_p2, m_t));
    m_t = m_t + kArcRate * dt;
    m_spinAngle = SpunAngle(m_spinAngle, m_spinBackwards != 0, kSpinSpeed, dt);
    SetRotationAngle(m_spinAngle);
}

Projectile* CreateProjectile(std::int32_t kind, Vector2D position, Vector2D velocity) {
    Projectile* projectile = Math::IsFinite(velocity) ? PlaceProjectile(kind, position) : nullptr;
    if (projectile == nullptr) {
        return nullptr;
    }
    projectile->SetVelocity(velocity);
    projectile->SetRotationAngle(Math::UnitVectorToDegrees(Vector2D::Normalized(velocity)));
    return projectile;
}

Projectile* CreateArcProjectile(std::int32_t kind, Vector2D from, Vector2D to) {
    Projectile* projectile = Math::IsFinite(to) ? PlaceProjectile(kind, from) : nullptr;
    if (projectile != nullptr) {
        projectile->SetArc(projectile->GetPosition(), to);
    }
    return projectile;
}
