#pragma once

#include "gui/GUI_SkinnedControl.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace GUI {

// A checkable control drawn only as a skin image (its text is not drawn).
// The radio buttons sharing a parent form one group: checking one unchecks
// the others, and at the parent's first update the first enabled one is
// checked when none is. Checking raises the checked event; unchecking raises
// nothing.
//
// A radio-button skin has ten piece sets: the five looks unchecked, then the
// same five checked.
class RadioButton : public SkinnedControl {
    GUI_DECLARE_CONTROL_CLASS(RadioButton);

    static constexpr const char* kScriptName = "RadioButton";

    // The unchecked piece set of each look; checked ones are kCheckedOffset further.
    enum class Look : std::uint32_t { Focused = 0, Normal = 1, Disabled = 2, Hover = 3, Pressed = 4 };
    static constexpr std::uint32_t kCheckedOffset = 5;

    static constexpr const char* kDefaultSkin = "DefaultRadioButtonSkin";
    static constexpr float kSize = 13.0f;

    // Unchecked, 13 x 13, wearing the default skin. Built while the HUD
    // reads a stream: an empty shell that Load fills.
    RadioButton();
    RadioButton(const RadioButton&) = delete;
    RadioButton& operator=(const RadioButton&) = delete;

    void PushToLua(lua_State* state) const override { PushToLuaAs(state, kScriptName); }

    // The control's part, the skin image and the checked flag; the checked
    // handlers are not streamed.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Checking an unchecked one raises the checked event, then unchecks the
    // other radio buttons of the parent (without events).
    void SetChecked(bool checked) override;
    bool GetChecked() const { return m_checked; }
    bool IsChecked() const override { return m_checked; }
    bool IsGroupChoice() const override { return true; }

    // Invokes the checked handlers in order with this radio button.
    virtual void FireChecked();
    // Refused (false) for null or a handler calling the same member on the
    // same object as one already listed.
    bool AddCheckedHandler(std::shared_ptr<EventHandler> handler);

    // A click checks; enter and release show the hover look, leave the
    // focused or normal one, a press the pressed one.
    void FireClick() override;
    void FireEvent6() override;
    void FireEvent8() override;
    void FireEvent10(const MouseEventRecord& event) override;
    void FireMouseDown(const MouseEventRecord& event) override;
    void UpdateVisual(float dt) override;
    void OnEnabledChanged() override;
    void GainFocus() override;
    void LoseFocus() override;

private:
    // The look's piece set for the current checked flag.
    void Show(Look look);
    // Focused, else normal or disabled.
    void ShowResting();

    std::vector<std::shared_ptr<EventHandler>> m_checkedHandlers;
    bool m_checked = false;
};

}  // namespace GUI
