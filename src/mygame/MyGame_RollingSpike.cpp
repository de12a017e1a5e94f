#include "mygame/MyGame_RollingSpike.h"

TUN_DEFINE_CLASS(RollingSpike)

RollingSpike::RollingSpike(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Enemy(animations) {}

void RollingSpike::Update(float dt) { Enemy::Update(dt); }

void RollingSpike::OnDeath() {}
