#include "mygame/MyGame_FlyingRangedEnemy.h"

TUN_DEFINE_CLASS(FlyingRangedEnemy)

FlyingRangedEnemy::FlyingRangedEnemy(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Enemy(animations) {}

void FlyingRangedEnemy::Save(Core::File& file) const { Enemy::Save(file); }

void FlyingRangedEnemy::Load(Core::File& file) { Enemy::Load(file); }

void FlyingRangedEnemy::OnStart() { Enemy::OnStart(); }

void FlyingRangedEnemy::Update(float dt) { Enemy::Update(dt); }

void FlyingRangedEnemy::OnDeath() {}

void FlyingRangedEnemy::Shoot() {}
