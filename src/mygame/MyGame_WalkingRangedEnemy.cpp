#include "mygame/MyGame_WalkingRangedEnemy.h"

TUN_DEFINE_CLASS(WalkingRangedEnemy)

WalkingRangedEnemy::WalkingRangedEnemy(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Enemy(animations) {}

void WalkingRangedEnemy::Save(Core::File& file) const { Enemy::Save(file); }

void WalkingRangedEnemy::Load(Core::File& file) { Enemy::Load(file); }

void WalkingRangedEnemy::OnStart() { Enemy::OnStart(); }

void WalkingRangedEnemy::Update(float dt) { Enemy::Update(dt); }

void WalkingRangedEnemy::OnDeath() {}

void WalkingRangedEnemy::Throw() {}
