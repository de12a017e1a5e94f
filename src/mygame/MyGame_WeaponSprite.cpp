#include "mygame/MyGame_WeaponSprite.h"

TUN_DEFINE_CLASS(WeaponSprite)

WeaponSprite::WeaponSprite(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

WeaponSprite::WeaponSprite(const WeaponSprite& other) : Sprite(other), m_weapon(other.m_weapon) {}

void WeaponSprite::Save(Core::File& file) const { Sprite::Save(file); }

void WeaponSprite::Load(Core::File& file) { Sprite::Load(file); }

void WeaponSprite::OnStart() { Sprite::OnStart(); }

void WeaponSprite::Update(float dt) {
    Sprite::Update(dt);
    m_fired = 0;
}

void WeaponSprite::SetWeapon(std::uint32_t weaponBit) { m_weapon = weaponBit; }

void WeaponSprite::Fire() { m_fired = 1; }

void WeaponSprite::AimAtCursor() {}

void WeaponSprite::SetPaused(bool) {}

void WeaponSprite::LoadWeaponSounds(bool) {}

bool WeaponSprite::IsLeftHand() const { return !GetName().empty() && GetName()[0] == 'L'; }
