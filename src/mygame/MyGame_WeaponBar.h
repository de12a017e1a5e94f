#pragma once

#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// The readiness bar of one hand: it grows from its bottom edge with the
// weapon's fill, shows the weapon's kind (as does its background "<name>BG")
// and eases to full brightness for the active hand, dimmed for the other.
class WeaponBar : public Tundra::Sprite {
    TUN_DECLARE_CLASS(WeaponBar);
    WeaponBar() = default;
    explicit WeaponBar(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    WeaponBar(const WeaponBar& other);

    // The sprite part, then fill, full height, base y, the background (as an
    // object reference), active and brightness.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Full, bright and active, showing the hand's selected weapon.
    void OnStart() override;
    void Update(float dt) override;

    // The bar's and its background's look for the weapon bit.
    void SetWeapon(std::uint32_t weaponBit);
    // Kept as given; the drawn height stays within the frame.
    void SetFill(float fill);
    float GetFill() const { return m_fill; }
    float GetFullHeight() const { return m_fullHeight; }

    void SetActive(bool active) { m_active = active ? 1 : 0; }
    bool IsActive() const { return m_active != 0; }
    void SetBrightness(float brightness) { m_brightness = brightness; }
    float GetBrightness() const { return m_brightness; }

private:
    float m_fill = 1.0f;
    float m_fullHeight = 0.0f;
    float m_baseY = 0.0f;
    Tundra::Sprite* m_background = nullptr;
    std::uint8_t m_active = 1;
    float m_brightness = 1.0f;
};
