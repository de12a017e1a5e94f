#pragma once

#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// The stage's progress strip, which also plays the boss warning; the stage
// switches it on once the distance is used up and waits for the warning to
// have been shown.
class DistanceUI : public Tundra::Sprite {
    TUN_DECLARE_CLASS(DistanceUI);
    DistanceUI() = default;
    explicit DistanceUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part, inactive, no progress.
    DistanceUI(const DistanceUI& other);

    // After the sprite part: progress, active, warning shown.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Inactive, the warning not yet shown.
    void OnStart() override;

    // 0 at the stage's start, 1 at its end.
    void SetProgress(float progress) { m_progress = progress; }
    float GetProgress() const { return m_progress; }
    // The warning is shown as soon as it is switched on.
    void SetActive(bool active);
    bool IsActive() const { return m_active != 0; }
    bool IsWarningShown() const { return m_warningShown != 0; }

private:
    float m_progress = 0.0f;
    std::uint8_t m_active = 0;
    std::uint8_t m_warningShown = 0;
};
