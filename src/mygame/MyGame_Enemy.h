#pragma once

#include "mygame/MyGame_DeBuffable.h"

#include <cstdint>
#include <vector>

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

    // Also leaves the stage's list of live enemies.
    void Destroy() override;

    // Once, when health first reaches 0.
    virtual void OnDeath() {}

    // Pausing pauses the animation when it plays; resuming plays it again
    // only then.
    void SetPaused(bool paused);

    Tundra::Sprite* GetHealthBar() const { return m_healthBar.Get(); }
    Tundra::Sprite* GetHealthBarBackground() const { return m_healthBarBackground.Get(); }
    float GetBarDisplayTime() const { return m_barDisplayTime; }
    bool IsDead() const { return m_dead != 0; }

private:
    // In the world layer, and held: the layer may let go of them first as
    // the enemy ends.
    Core::RefPtr<Tundra::Sprite> m_healthBar;
    Core::RefPtr<Tundra::Sprite> m_healthBarBackground;
    float m_barDisplayTime = 0.0f;
    std::uint8_t m_dead = 0;
    std::uint8_t m_wasPlaying = 0;
};
