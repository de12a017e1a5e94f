#pragma once

#include "core/Core_RefPtr.h"
#include "mygame/MyGame_WepSelButton.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_StateMachine.h"

#include <cstdint>
#include <vector>

// The weapon-selection panel of the title level: two hand icons; clicking
// one drops a column of the unlocked weapons held in neither hand below it,
// and a pick becomes that hand's weapon (profile, weapon bar, weapon sprite,
// cursor gauges, move speed). "WepSelSM" drives it, and only while the panel
// is visible.
class WepSelUI : public Tundra::Sprite {
    TUN_DECLARE_CLASS(WepSelUI);
    using StateMachine = Tundra::StateMachine<WepSelUI>;

    // "WepSelSM"'s states, in array order.
    enum SelState : std::int32_t { kRightSel = 0, kLeftSel = 1, kCleanup = 2, kIdleSel = 3 };
    // What the panel is choosing for.
    enum Mode : std::int32_t { kIdle = 0, kChooseLeft = 1, kChooseRight = 2 };
    // The icons' offset from the panel (the left icon mirrors x).
    static constexpr float kIconDx = 57.0f;
    static constexpr float kIconDy = -22.0f;
    // The gap between the stacked icons of a column.
    static constexpr float kColumnGap = 3.0f;

    WepSelUI();
    explicit WepSelUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part with a deep copy of the machine, which drives the copy;
    // icons and template are made by the copy's own start.
    WepSelUI(const WepSelUI& other);
    ~WepSelUI() override;

    // After the sprite part: "WepSelSM", then mode, template, icons and the
    // column (object references). A panel read with its column open comes
    // back idle, and its next update ends that column.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Finds "WepSelTemplate" and makes the two hidden hand icons showing the
    // profile's weapons.
    void OnStart() override;
    // Ends a column read back open; runs the machine only while the panel
    // is visible.
    void Update(float dt) override;

    // The panel and both icons (theirs current and previous). Hides the
    // sprite's own, which would leave the icons behind.
    void SetPosition(float x, float y);
    // Both icons restart their fade-in from -3 with the given visibility.
    void SetIconsVisible(bool visible);
    // Places and shows the panel, its icons hidden until their next update
    // and then fading in: how the menus bring it up.
    void Open(float x, float y);
    // Ends the column, hides panel and icons (a pending show dropped); the
    // machine returns to "IDLESEL", at its next update once it has run.
    void Close();

    std::int32_t GetMode() const { return m_mode; }
    WepSelButton* GetLeftIcon() const { return m_leftIcon.Get(); }
    WepSelButton* GetRightIcon() const { return m_rightIcon.Get(); }
    WepSelButton* GetTemplate() const { return m_template.Get(); }
    const std::vector<Core::RefPtr<WepSelButton>>& GetCandidates() const { return m_candidates; }
    const StateMachine* GetMachine() const { return m_machine.Get(); }

private:
    // The weapons 1, 2, 4, 8 have an icon each, in bit order.
    static constexpr int kIconAnimations = 4;

    static StateMachine* BuildWepSelSM(WepSelUI* owner);
    // The icon animation of a weapon bit; -1 for a value naming none.
    static int IconAnimation(std::uint32_t weaponBits);
    // Null without the template or a HUD layer.
    WepSelButton* CloneTemplateToHud() const;
    // Hidden, at the panel's position with the offset, showing the weapon.
    WepSelButton* MakeIcon(float dx, std::uint32_t weaponBits);
    void DestroyCandidates();
    // Clones of the template stacked under the icon: the unlocked weapons
    // neither hand holds, in bit order.
    void OpenColumn(WepSelButton* icon);
    // The hand's weapon becomes the clicked candidate's (profile, bar, weapon
    // sprite, cursor gauges, move speed); the flags of both icons then decide
    // whether the column stays, closes or turns to the other hand.
    void Choose(bool leftHand);

    // "WepSelSM"'s callbacks and conditions (their own source file).
    void OpenRightColumn(float dt);
    void OpenLeftColumn(float dt);
    void ChooseRight(float dt);
    void ChooseLeft(float dt);
    void CloseColumn(float dt);
    bool IsNotChoosingRight(float dt);
    bool IsNotChoosingLeft(float dt);
    bool IsIdle(float dt);
    bool IsChoosingRight(float dt);
    bool IsChoosingLeft(float dt);
    bool TakeLeftIconClick(float dt);
    bool TakeRightIconClick(float dt);

    // Held so a destroyed one is never read freed.
    Core::RefPtr<WepSelButton> m_leftIcon;
    Core::RefPtr<WepSelButton> m_rightIcon;
    Core::RefPtr<WepSelButton> m_template;
    std::vector<Core::RefPtr<WepSelButton>> m_candidates;
    std::int32_t m_mode = kIdle;
    Core::RefPtr<StateMachine> m_machine;
    // Set by a read of an open column, which the next update ends.
    std::uint8_t m_columnLeftByLoad = 0;
};
