#pragma once

#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// The volume slider of the options screens and the stage's volume dialog;
// its fill bar is mounted on it and so shows and hides with it.
class VolumeControl : public Tundra::Sprite {
    TUN_DECLARE_CLASS(VolumeControl);
    VolumeControl() = default;
    explicit VolumeControl(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    VolumeControl(const VolumeControl& other);

    // After the sprite part: the value and the show-pending flag.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The game's stored volume.
    void OnStart() override;

    // Below 0 keeps 0; NaN is refused.
    void SetValue(float value);
    float GetValue() const { return m_value; }
    void SetShowPending(bool pending) { m_showPending = pending ? 1 : 0; }
    bool IsShowPending() const { return m_showPending != 0; }

private:
    float m_value = 0.0f;
    std::uint8_t m_showPending = 0;
};
