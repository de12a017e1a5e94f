#include "mygame/MyGame_Bullet.h"

TUN_DEFINE_CLASS(Bullet)

Bullet::Bullet(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

Bullet::Bullet(const Bullet& other) : Sprite(other) {}

void Bullet::Save(Core::File& file) const { Sprite::Save(file); }

void Bullet::Load(Core::File& file) { Sprite::Load(file); }

void Bullet::Update(float dt) { Sprite::Update(dt); }

void Bullet::SetPaused(bool) {}

Bullet* SpawnBullet(const Vector2D&, const Vector2D&) { return nullptr; }
