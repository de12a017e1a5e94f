#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "math/Math_Vector2D.h"
#include "mygame/MyGame_CenteredText.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace Input {
class Mouse;
}

// A HUD button of the in-world menus and dialogs: a sprite with a centred
// label, a click callback and, for key-capture buttons, a leave callback.
class LabeledButton : public Tundra::Sprite {
    TUN_DECLARE_CLASS(LabeledButton);
    LabeledButton() = default;
    explicit LabeledButton(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part: no callbacks, no label, every flag clear.
    LabeledButton(const LabeledButton& other);

    // After the sprite part: the label (an object reference), state, half
    // size and the three flags. Callbacks are not streamed: their owner
    // gives the buttons read back theirs again.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    void OnStart() override;
    // Shows a pending button, hit-tests the mouse (edges outside), clicks
    // on a release that follows a press begun inside once it was drawn
    // shown (the pointer may arrive with the press), and
    // eases the label's colour toward its state's. Hidden or destroyed:
    // nothing.
    void Update(float dt) override;
    // The label goes with the button.
    void Destroy() override;

    // The button and its label.
    void SetVisible(bool visible);
    void SetOpacity(float opacity);

    void SetLabel(CenteredText* label);
    CenteredText* GetLabel() const { return m_label.Get(); }
    void SetClickCallback(std::function<void()> callback) { m_click = std::move(callback); }
    void SetLeaveCallback(std::function<void()> callback);
    bool HasLeaveCallback() const { return m_hasLeaveCallback != 0; }
    void SetScreenSpace(bool screenSpace) { m_screenSpace = screenSpace ? 1 : 0; }
    bool IsScreenSpace() const { return m_screenSpace != 0; }
    void SetShowPending(bool pending) { m_showPending = pending ? 1 : 0; }
    bool IsShowPending() const { return m_showPending != 0; }
    // Visible and faded in: only a press that begins while it is shown
    // counts, not one held since before.
    bool IsShown() const;
    // 0 idle, 1 hovered, 2 pressed.
    std::uint32_t GetState() const { return m_state; }

private:
    friend class LabeledButtonTestAccess;

    // Steps the state by the mouse and runs a callback the step calls for;
    // false when that callback destroyed the button. A press goes down on
    // it only when it was drawn shown before.
    bool FollowMouse(const Input::Mouse& mouse, bool inside, bool drawnShown);
    bool Run(const std::function<void()>& callback);
    // The state's frame, and the label's colour eased toward the state's.
    void ShowState(float dt);

    std::function<void()> m_click;
    std::function<void()> m_leave;
    // In the same layer; destroyed with the button. Held, so that a label
    // destroyed first is never named after it is freed.
    Core::RefPtr<CenteredText> m_label;
    std::uint32_t m_state = 0;
    float m_halfWidth = 0.0f;
    float m_halfHeight = 0.0f;
    std::uint8_t m_screenSpace = 0;
    std::uint8_t m_hasLeaveCallback = 0;
    std::uint8_t m_showPending = 0;
};

// A clone of the button template in the HUD layer, shown at the position
// with the animation, labelled with the text, running the click callback;
// it fades in from opacity 0. Null without the template or a HUD layer.
LabeledButton* MakeLabeledButton(const Vector2D& position, const Core::String& text, int animationIndex,
                                 std::function<void()> click);
// The same button that also runs the leave callback when the cursor leaves
// it, to put its label back.
LabeledButton* MakeKeyCaptureButton(const Vector2D& position, const Core::String& text, int animationIndex,
                                    std::function<void()> click, std::function<void()> leave);
