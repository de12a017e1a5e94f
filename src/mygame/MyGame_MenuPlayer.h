#pragma once

#include "mygame/MyGame_Player.h"

#include <cstdint>
#include <vector>

// The player of the title level: frozen until the title is dismissed, and
// stopped at the strip's right edge. It walks both ways at the same speed.
class MenuPlayer : public Player {
    TUN_DECLARE_CLASS(MenuPlayer);
    static constexpr float kRightEdge = 994.0f;

    // Every form walks 10 to the right and -10 to the left, loaded and
    // cloned players too.
    MenuPlayer();
    explicit MenuPlayer(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    MenuPlayer(const MenuPlayer& other);

    // The player part, then the controls-on flag.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The player's start, then facing left with the controls off.
    void OnStart() override;
    void Update(float dt) override;

    void SetControlsOn(bool on) { m_controlsOn = on ? 1 : 0; }
    bool GetControlsOn() const { return m_controlsOn != 0; }

private:
    void SetMenuSteps();

    std::uint8_t m_controlsOn = 0;
};
