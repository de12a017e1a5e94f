#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// The HUD's boss health bar and its frame, by object name, and how far above
// the boss's ground a boss keeps them during its fight.
inline constexpr const char* kBossBarFrameName = "BossHPBar";
inline constexpr const char* kBossBarName = "BossHP";
inline constexpr float kBossBarFrameRise = 517.0f;
inline constexpr float kBossBarRise = 513.0f;

// A boss's health bar on the HUD: cropped from the right as the boss loses
// health, its left edge staying where it was at full health.
class BossHp : public Tundra::Sprite {
    TUN_DECLARE_CLASS(BossHp);
    BossHp() = default;
    explicit BossHp(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    BossHp(const BossHp& other);

    // After the sprite part: health, full width and anchor.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Takes the current frame width and position as the full bar's.
    void OnStart() override;

    // Draws that share of each frame's width. A non-finite health is refused.
    void SetHealth(float health);

    float GetHealth() const { return m_health; }
    float GetFullWidth() const { return m_fullWidth; }
    // The centre's x at full health.
    float GetAnchorX() const { return m_anchorX; }
    void SetAnchorX(float x) { m_anchorX = x; }

private:
    float m_health = 1.0f;
    float m_fullWidth = 0.0f;
    float m_anchorX = 0.0f;
};
