#include "mygame/MyGame_WeaponBar.h"

TUN_DEFINE_CLASS(WeaponBar)

WeaponBar::WeaponBar(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

WeaponBar::WeaponBar(const WeaponBar& other) : Sprite(other) {}

void WeaponBar::Save(Core::File& file) const { Sprite::Save(file); }

void WeaponBar::Load(Core::File& file) { Sprite::Load(file); }

void WeaponBar::OnStart() { Sprite::OnStart(); }

void WeaponBar::Update(float dt) { Sprite::Update(dt); }

void WeaponBar::SetWeapon(std::uint32_t) {}

void WeaponBar::SetFill(float fill) { m_fill = fill; }
