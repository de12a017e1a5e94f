#pragma once

#include "tundra/Tundra_Sprite.h"

#include <vector>

// The player's health bar on the HUD.
class HpBar : public Tundra::Sprite {
    TUN_DECLARE_CLASS(HpBar);
    HpBar() = default;
    explicit HpBar(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    HpBar(const HpBar& other);

    // After the sprite part: the fraction.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Full health.
    void OnStart() override;

    // Below 0 shows 0; there is no upper bound. NaN is refused.
    void SetHealth(float fraction);
    float GetFraction() const { return m_fraction; }

private:
    float m_fraction = 1.0f;
};
