#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// The player's health bar on the HUD: drawn as wide as the health left,
// its left end where the full bar's is, tinted from green through yellow to
// red.
class HpBar : public Tundra::Sprite {
    TUN_DECLARE_CLASS(HpBar);
    HpBar() = default;
    explicit HpBar(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    HpBar(const HpBar& other);

    // After the sprite part: fraction, full width, base x. Reading applies
    // the crop again.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Takes the frame width and x as the full bar's; full health.
    void OnStart() override;

    // Below 0 becomes 0; above 1 is kept, though never drawn wider than the
    // full bar. A value that is not finite is refused.
    void SetHealth(float fraction);
    float GetFraction() const { return m_fraction; }
    float GetFullWidth() const { return m_fullWidth; }
    // The centre's x at full health.
    float GetBaseX() const { return m_baseX; }

private:
    void ApplyCrop() const;

    float m_fraction = 1.0f;
    float m_fullWidth = 0.0f;
    float m_baseX = 0.0f;
};
