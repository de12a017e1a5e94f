#pragma once

#include "engine/Engine_TextRenderContext.h"
#include "gui/GUI_SkinnedControl.h"
#include "renderer/Renderer_ITexture.h"

#include <array>
#include <cstdint>

namespace GUI {

// The push button: a skin image whose piece set follows the button's look,
// the text centred on the skin's centre piece and, for a button that passes
// its activation to its parent (a drop-down), an arrow. It raises no event
// of its own: clicks reach the application through the control's lists, and
// a button that is not enabled with its ancestors raises none of them and
// keeps its disabled look.
//
// A button skin lists its piece sets as normal, pressed, hover, focused,
// disabled, unless the piece-set setters choose others.
class Button : public SkinnedControl {
    GUI_DECLARE_CONTROL_CLASS(Button);

    static constexpr const char* kScriptName = "Button";

    // The looks, as the state field stores them.
    enum class State : std::uint32_t { Normal = 0, Pressed = 1, Hover = 2, Disabled = 3, Focused = 4 };
    static constexpr std::uint32_t kStateCount = 5;

    static constexpr const char* kDefaultSkin = "DefaultButtonSkin";
    static constexpr const char* kDefaultFont = "DefaultFont";
    static constexpr const char* kArrowImage = "ComboDown.png";
    static constexpr const char* kDisabledArrowImage = "ComboDownDisabled.png";
    // How far the text sits right of where centring puts it.
    static constexpr float kTextIndent = 2.0f;
    // Text of a button that is not enabled.
    static Color DisabledTextColor() { return {172.0f / 255.0f, 168.0f / 255.0f, 153.0f / 255.0f, 1.0f}; }

    // At (0, 0), 64 x 64, wearing the default skin at 75 x 25 with the
    // default font. Built while the HUD reads a stream: an empty shell that
    // Load fills.
    Button();
    Button(const Button&) = delete;
    Button& operator=(const Button&) = delete;

    void PushToLua(lua_State* state) const override { PushToLuaAs(state, kScriptName); }

    // The control's part, the five piece-set fields, the state and the skin
    // image; Load fetches the arrow images again. A stored state that names
    // no look fails the stream.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Enter and release show the hover look, leave the focused or normal
    // one, a press the pressed one.
    void FireEvent6() override;
    void FireEvent8() override;
    void FireEvent10(const MouseEventRecord& event) override;
    void FireMouseDown(const MouseEventRecord& event) override;
    void UpdateVisual(float dt) override;
    void OnEnabledChanged() override;
    void GainFocus() override;
    void LoseFocus() override;

    // Which piece set each look shows; stored only, shown from the next frame.
    void SetNormalPieceSet(std::uint32_t index) { m_pieceSets[Index(State::Normal)] = index; }
    void SetPressedPieceSet(std::uint32_t index) { m_pieceSets[Index(State::Pressed)] = index; }
    void SetHoverPieceSet(std::uint32_t index) { m_pieceSets[Index(State::Hover)] = index; }
    void SetDisabledPieceSet(std::uint32_t index) { m_pieceSets[Index(State::Disabled)] = index; }
    void SetFocusedPieceSet(std::uint32_t index) { m_pieceSets[Index(State::Focused)] = index; }
    std::uint32_t GetPieceSetOf(State state) const { return m_pieceSets[Index(state)]; }
    // Shows the current look's piece set at once.
    void RefreshSkin();

    State GetState() const { return m_state; }
    const Core::RefPtr<Engine::TextRenderContext>& GetArrowRenderer() const { return m_arrowRenderer; }

private:
    static constexpr std::size_t Index(State state) { return static_cast<std::size_t>(state); }
    void FetchArrowImages();
    void DrawLabel(const NRectangle& clip);
    void DrawArrow(const NRectangle& clip);

    // Indexed by State: normal, pressed, hover, disabled, focused.
    std::array<std::uint32_t, kStateCount> m_pieceSets{0, 1, 2, 4, 3};
    State m_state = State::Normal;
    Core::RefPtr<Engine::TextRenderContext> m_arrowRenderer;
    Core::RefPtr<Renderer::ITexture> m_arrowTexture;
    Core::RefPtr<Renderer::ITexture> m_disabledArrowTexture;
};

}  // namespace GUI
