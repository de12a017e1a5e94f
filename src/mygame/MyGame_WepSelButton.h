#pragma once

#include "mygame/MyGame_ButtonClass.h"

#include <cstdint>
#include <vector>

// A weapon icon of the weapon-selection panel: a button whose hit box is its
// frame less a small inset, which remembers a click until the panel takes
// it, and which can be brought in with the menus' delayed fade-in.
class WepSelButton : public ButtonClass {
    TUN_DECLARE_CLASS(WepSelButton);
    static constexpr std::int32_t kInset = 2;

    WepSelButton() = default;
    explicit WepSelButton(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    WepSelButton(const WepSelButton& other);

    // After the button part: clicked, inset, show pending.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The hit box is the current frame less the inset; idle, not clicked,
    // nothing pending.
    void OnStart() override;
    // The button's update, then one fade-in step and a pending show.
    void Update(float dt) override;

    void OnStateChange() override;

    bool IsClicked() const { return m_clicked != 0; }
    void SetClicked(bool clicked) { m_clicked = clicked ? 1 : 0; }
    bool IsShowPending() const { return m_showPending != 0; }
    void SetShowPending(bool pending) { m_showPending = pending ? 1 : 0; }

private:
    std::uint8_t m_clicked = 0;
    std::int32_t m_inset = kInset;
    std::uint8_t m_showPending = 0;
};
