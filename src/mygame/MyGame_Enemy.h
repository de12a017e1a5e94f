#pragma once

#include "mygame/MyGame_DeBuffable.h"

#include <cstdint>
#include <vector>

class EnemyDrop;

// The base of every enemy and boss: a floating health bar, the one-time death
// call, pausing of its animation and leaving the stage's list of live enemies
// when destroyed.
class Enemy : public DeBuffable {
    TUN_DECLARE_CLASS(Enemy);
    Enemy() = default;
    explicit Enemy(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The debuffable part; no bar: the bar sprites belong to the source.
    Enemy(const Enemy& other);

    // The bar sprites (references), display time and flags after the
    // debuffable part.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Also leaves the stage's list of live enemies, and takes its bar with it.
    void Destroy() override;
    // The debuffable start; the bar hidden in time, not dead.
    void OnStart() override;
    // Ticks the debuff and the bar's display time; an enemy that left the
    // screen to the left or below destroys itself.
    void Update(float dt) override;
    // Health below 0 is taken as 0 and the first time calls OnDeath; the bar
    // shows the health for a second.
    void OnHealthChanged() override;

    // Gives the enemy its bar: two clones of the bar template in the world
    // layer, mounted on it above its position. Nothing without a template
    // or when it has one already.
    void CreateHealthBar();
    // A drop at the enemy's position; null when none could be made.
    EnemyDrop* SpawnDrop();

    // Once, when health first reaches 0.
    virtual void OnDeath() {}

    // Pausing pauses the animation when it plays; resuming plays it again
    // only then.
    void SetPaused(bool paused);

    Tundra::Sprite* GetHealthBar() const { return m_healthBar.Get(); }
    Tundra::Sprite* GetHealthBarBackground() const { return m_healthBarBackground.Get(); }
    float GetBarDisplayTime() const { return m_barDisplayTime; }
    bool IsDead() const { return m_dead != 0; }

    // Shared by every enemy: each bar made lies a step below the last one,
    // so that no two bars tie in the draw order. It starts at the top value
    // and only falls.
    static constexpr float kHealthBarDepthStart = 8.0f;
    static float GetHealthBarDepthCounter();
    // A value above the start value (or not finite) is refused.
    static void SetHealthBarDepthCounter(float value);

private:
    // In the world layer, and held: the layer may let go of them first as
    // the enemy ends.
    Core::RefPtr<Tundra::Sprite> m_healthBar;
    Core::RefPtr<Tundra::Sprite> m_healthBarBackground;
    float m_barDisplayTime = 0.0f;
    std::uint8_t m_dead = 0;
    std::uint8_t m_wasPlaying = 0;
};
