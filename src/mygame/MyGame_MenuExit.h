#pragma once

#include "core/Core_RefPtr.h"
#include "math/Math_Vector2D.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_UiFrame.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <memory>
#include <vector>

// The title level's exit sign. Unlike the machines it follows the mouse:
// hovering lights it, a press and release over it open a small dialog
// ("Exit", "Confirm", "Cancel") that freezes the player. "Confirm" ends the
// program; "Cancel" or X closes the dialog.
class MenuExit : public Tundra::Sprite {
    TUN_DECLARE_CLASS(MenuExit);
    enum State : std::uint32_t { kIdle = 0, kHovered = 1, kPressed = 2, kDialogOpen = 3 };
    // Animations: 0 the sign opening (the title level plays it), 1 its idle
    // loop, 2 lit.
    static constexpr int kIdleAnimation = 1;
    static constexpr int kLitAnimation = 2;

    MenuExit();
    explicit MenuExit(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part: no widgets, player or frame, idle.
    MenuExit(const MenuExit& other);
    ~MenuExit() override;

    // After the sprite part: width, height, the two buttons, the state, the
    // cursor, the heading and the player (object references) and the frame
    // when there is one. The read buttons have no callbacks: the next update
    // gives them theirs again (so a save right after a load holds the same
    // objects), and a dialog read back open comes back closed with the
    // player free.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The frame size, the player, the hidden heading and buttons, and a
    // frame collapsed on its corner point; idle.
    void OnStart() override;
    // Follows the mouse and X while shown and past its opening animation;
    // the frame steps in any case.
    void Update(float dt) override;
    // The frame is ended once; the heading and buttons go too, since their
    // callbacks name this sign.
    void OnEnd() override;

    std::uint32_t GetState() const { return m_state; }
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    CenteredText* GetHeading() const { return m_heading.Get(); }
    LabeledButton* GetConfirmButton() const { return m_confirm.Get(); }
    LabeledButton* GetCancelButton() const { return m_cancel.Get(); }
    MenuPlayer* GetPlayer() const { return m_player.Get(); }
    UiFrame* GetFrame() const { return m_frame.get(); }

private:
    void MakeWidgets();
    // The buttons' callbacks: "Confirm" quits, "Cancel" closes the dialog.
    void LinkButtons();
    void DestroyWidgets();
    // The buttons read back get their callbacks; an open dialog closes.
    void RelinkWidgetsAfterLoad();
    bool IsUnderCursor() const;
    void FollowMouse();
    void OpenDialog();
    void CloseDialog();

    // Full frame sizes, not halves.
    float m_width = 0.0f;
    float m_height = 0.0f;
    // The widgets are in the HUD layer, not owned; held so a destroyed one is
    // never read freed.
    Core::RefPtr<LabeledButton> m_confirm;
    Core::RefPtr<LabeledButton> m_cancel;
    std::uint32_t m_state = kIdle;
    Vector2D m_cursor{0.0f, 0.0f};
    Core::RefPtr<CenteredText> m_heading;
    Core::RefPtr<MenuPlayer> m_player;
    std::unique_ptr<UiFrame> m_frame;
    bool m_relinkAfterLoad = false;
};
