#include "mygame/MyGame_AlpacaBoss.h"

#include "core/Core_File.h"
#include "mygame/MyGame_BossHp.h"

#include <cmath>

TUN_DEFINE_CLASS(AlpacaBoss)

AlpacaBoss::AlpacaBoss(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Enemy(animations) {}

AlpacaBoss::AlpacaBoss(const AlpacaBoss& other)
    : Enemy(other),
      m_active(other.m_active),
      m_target(other.m_target),
      m_cooldown(other.m_cooldown),
      m_salvoLimit(other.m_salvoLimit),
      m_salvoCounter(other.m_salvoCounter),
      m_projectileDepth(other.m_projectileDepth),
      m_openingDone(other.m_openingDone),
      m_verticalOffset(other.m_verticalOffset) {}

void AlpacaBoss::Save(Core::File& file) const { Enemy::Save(file); }

void AlpacaBoss::Load(Core::File& file) { Enemy::Load(file); }

void AlpacaBoss::OnStart() { Enemy::OnStart(); }

void AlpacaBoss::Update(float dt) { Enemy::Update(dt); }

void AlpacaBoss::OnHealthChanged() { Enemy::OnHealthChanged(); }

void AlpacaBoss::OnDeath() {}

void AlpacaBoss::Destroy() { Enemy::Destroy(); }

void AlpacaBoss::Activate(float verticalOffset) {
    if (!std::isfinite(verticalOffset)) {
        return;
    }
    m_verticalOffset = verticalOffset;
    m_active = 1;
}
