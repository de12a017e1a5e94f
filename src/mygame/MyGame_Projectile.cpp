#include "mygame/MyGame_Projectile.h"

TUN_DEFINE_CLASS(Projectile)

Projectile::Projectile(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

Projectile::Projectile(const Projectile& other)
    : Sprite(other), m_kind(other.m_kind), m_wasPlaying(other.m_wasPlaying) {}

void Projectile::Save(Core::File& file) const { Sprite::Save(file); }

void Projectile::Load(Core::File& file) { Sprite::Load(file); }

void Projectile::Update(float dt) { Sprite::Update(dt); }

void Projectile::SetPaused(bool) {}

void Projectile::SetArc(const Vector2D&, const Vector2D&) {}

Projectile* CreateProjectile(std::int32_t, Vector2D, Vector2D) { return nullptr; }

Projectile* CreateArcProjectile(std::int32_t, Vector2D, Vector2D) { return nullptr; }
