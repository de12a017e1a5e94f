#include "mygame/MyGame_Enemy.h"

#include "core/Core_File.h"
#include "mygame/MyGame_AnimationPause.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WidgetClone.h"

#include <cmath>

TUN_DEFINE_CLASS(Enemy)

namespace {

// Each bar lies a step below the last; the bar itself a little below its
// background.
constexpr float kBarDepthStep = 0.00001f;
constexpr float kBarBelowBackground = 0.000001f;
constexpr float kHealthBarRise = 10.0f;
constexpr float kBarShowTime = 1.0f;
// A full bar is 50 units wide: it shrinks toward one side as health falls.
constexpr float kHealthBarHalfWidth = 25.0f;
constexpr int kBarFrame = 1;
constexpr int kBackgroundFrame = 0;
// Off the screen to the left or below.
constexpr float kLeaveEdge = -50.0f;

float g_healthBarDepthCounter = Enemy::kHealthBarDepthStart;

void HideAndDestroy(Core::RefPtr<Tundra::Sprite>& held) {
    const Core::RefPtr<Tundra::Sprite> sprite = std::move(held);
    held = nullptr;
    if (sprite) {
        sprite->SetVisible(false);
        sprite->Destroy();
    }
}

// A bar link read from a stream names one of the enemy's own mounts, made
// from the bar template: anything else would be destroyed with the enemy.
bool IsOwnBar(const Enemy& enemy, const Tundra::Sprite* bar) {
    return bar == nullptr || (bar->GetMount() == &enemy && StaysInItsLayer(bar) &&
                              bar->GetName() == kTemplateNames[kHpBarTemplate]);
}

}  // namespace

Enemy::Enemy(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : DeBuffable(animations) {}

Enemy::Enemy(const Enemy& other)
    : DeBuffable(other),
      m_barDisplayTime(other.m_barDisplayTime),
      m_dead(other.m_dead),
      m_wasPlaying(other.m_wasPlaying) {}

void Enemy::Save(Core::File& file) const {
    DeBuffable::Save(file);
    file << m_healthBar;
    file << m_healthBarBackground;
    file.WriteF32(m_barDisplayTime);
    file.WriteU8(m_dead);
    file.WriteU8(m_wasPlaying);
}

void Enemy::Load(Core::File& file) {
    DeBuffable::Load(file);
    Core::RefPtr<Tundra::Sprite> healthBar;
    Core::RefPtr<Tundra::Sprite> healthBarBackground;
    float barDisplayTime = m_barDisplayTime;
    std::uint8_t dead = m_dead;
    std::uint8_t wasPlaying = m_wasPlaying;
    file >> healthBar;
    file >> healthBarBackground;
    file.ReadF32(barDisplayTime);
    file.ReadU8(dead);
    file.ReadU8(wasPlaying);
    if (file.HasFailed() || !std::isfinite(barDisplayTime) || dead > 1 || wasPlaying > 1 ||
        !IsOwnBar(*this, healthBar.Get()) || !IsOwnBar(*this, healthBarBackground.Get())) {
        file.SetFailed();
        return;
    }
    m_healthBar = healthBar;
    m_healthBarBackground = healthBarBackground;
    m_barDisplayTime = barDisplayTime;
    m_dead = dead;
    m_wasPlaying = wasPlaying;
}

void Enemy::Destroy() {
    // The live list may hold the last reference.
    const Core::RefPtr<Enemy> self(GetReferenceCount() > 0 ? this : nullptr);
    DeBuffable::Destroy();
    if (GameLevel* stage = GetRunningStage()) {
        stage->RemoveLiveEnemy(this);
    }
    HideAndDestroy(m_healthBar);
    HideAndDestroy(m_healthBarBackground);
}

void Enemy::OnStart() {
    DeBuffable::OnStart();
    m_barDisplayTime = 0.0f;
    m_dead = 0;
}

void Enemy::Update(float dt) {
    DeBuffable::Update(dt);
    if (m_healthBar && m_healthBar->GetVisible()) {
        m_barDisplayTime = m_barDisplayTime - dt;
        if (m_barDisplayTime <= 0.0f) {
            m_healthBar->SetVisible(false);
            if (m_healthBarBackground) {
                m_healthBarBackground->SetVisible(false);
            }
        }
    }
    // Two checks: the second finds the enemy already destroyed and does
    // nothing.
    if (GetPositionX() < kLeaveEdge) {
        Destroy();
    }
    if (GetPositionY() < kLeaveEdge) {
        Destroy();
    }
}

void Enemy::OnHealthChanged() {
    // OnDeath may destroy the enemy and let the last holder go.
    const Core::RefPtr<Enemy> self(GetReferenceCount() > 0 ? this : nullptr);
    if (GetHealth() <= 0.0f) {
        SetHealth(0.0f);
        if (m_dead == 0) {
            // Set first: whatever OnDeath does cannot call it again.
            m_dead = 1;
            OnDeath();
        }
    }
    if (!m_healthBar) {
        return;
    }
    m_barDisplayTime = kBarShowTime;
    m_healthBar->SetVisible(true);
    if (m_healthBarBackground) {
        m_healthBarBackground->SetVisible(true);
    }
    const float health = GetHealth();
    m_healthBar->SetScaleX(health);
    m_healthBar->SetCenterX((1.0f - health) * kHealthBarHalfWidth);
}

void Enemy::CreateHealthBar() {
    if (m_healthBar || m_healthBarBackground) {
        return;
    }
    Tundra::Sprite* bar = CloneTemplateToWorld<Tundra::Sprite>(kHpBarTemplate);
    if (bar == nullptr) {
        return;
    }
    const Vector2D at = GetPosition() + Vector2D{0.0f, kHealthBarRise};
    bar->SetZOrder(g_healthBarDepthCounter - kBarBelowBackground);
    bar->SetCurrentFrameIndex(kBarFrame, false);
    bar->SetPosition(at);
    bar->SetOldPosition(at);
    Mount(bar);
    m_healthBar = bar;
    const Core::RefPtr<Tundra::GameObject> copy(static_cast<Tundra::GameObject*>(bar->Clone()));
    if (auto* background = dynamic_cast<Tundra::Sprite*>(copy.Get())) {
        if (Tundra::Layer* layer = bar->GetLayer()) {
            layer->AddGameObject(background);
        }
        background->SetZOrder(g_healthBarDepthCounter);
        background->SetCurrentFrameIndex(kBackgroundFrame, false);
        Mount(background);
        m_healthBarBackground = background;
    }
    g_healthBarDepthCounter = g_healthBarDepthCounter - kBarDepthStep;
}

EnemyDrop* Enemy::SpawnDrop() { return SpawnEnemyDrop(GetPosition()); }

void Enemy::SetPaused(bool paused) { PauseAnimation(*this, paused, m_wasPlaying); }

float Enemy::GetHealthBarDepthCounter() { return g_healthBarDepthCounter; }

void Enemy::SetHealthBarDepthCounter(float value) {
    if (std::isfinite(value) && value <= kHealthBarDepthStart) {
        g_healthBarDepthCounter = value;
    }
}
