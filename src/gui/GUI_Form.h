#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_TextRenderContext.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_GuiImage.h"
#include "renderer/Renderer_ITexture.h"

#include <array>
#include <cstdint>

namespace GUI {

// The window: a control with a caption bar that drags it, bottom, left and
// right borders, a close button, a picture filling the client area, an
// inactive colour while another form has the keyboard and a blink that draws
// attention to a modal window. In show-only-controls mode the frame is
// neither drawn nor draggable and the close button is hidden. Forms are the
// HUD's top-level entries.
//
// The frame images are the skin's piece sets 0 (caption), 1 (left), 2
// (right) and 3 (bottom); the close button wears piece sets 4 to 6 of the
// same skin.
class Form : public Control {
    GUI_DECLARE_CONTROL_CLASS(Form);

    static constexpr const char* kScriptName = "Form";
    static constexpr const char* kDefaultSkin = "DefaultFormSkin";
    static constexpr const char* kDefaultFont = "DefaultFont";
    static constexpr const char* kDefaultPicture = "Gray.png";
    static constexpr const char* kCloseButtonName = "CloseCloseClose";
    // The blink switches colour this often and lasts this long (seconds).
    static constexpr float kBlinkToggleTime = 0.1f;
    static constexpr float kBlinkTime = 0.8f;
    // The close button's side follows the caption height within these.
    static constexpr float kMinCloseButtonSide = 2.0f;
    static constexpr float kMaxCloseButtonSide = 20.0f;

    static Color DefaultActiveColor() { return {2.0f / 255.0f, 106.0f / 255.0f, 254.0f / 255.0f, 1.0f}; }
    static Color DefaultInactiveColor() { return {129.0f / 255.0f, 169.0f / 255.0f, 232.0f / 255.0f, 1.0f}; }

    // The default window: 256 x 256 at (0, 0), caption 32, borders 8, in the
    // default skin, picture and font, with its close button. Built while the
    // HUD reads a stream: an empty shell that Load fills.
    Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    // Takes its handler off a close button that outlives it.
    ~Form() override;

    void PushToLua(lua_State* state) const override { PushToLuaAs(state, kScriptName); }

    // The control's part, the frame images, the close button, the picture's
    // name, flags, timers, border sizes, the inactive colour and the drag.
    // Load refuses border sizes that are not finite; it fetches the picture
    // again and hooks the close button up again (also one a script took out
    // of the form).
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // --- Window operations ---
    // The closing hook, then the form is destroyed at the end of the HUD's frame.
    void Close();
    // Setting it takes the modal pointer from the previous modal form; the
    // HUD then treats this form as active and brings it to the front.
    void SetModal(bool modal);
    bool GetModal() const { return m_modal; }
    void SetShowOnlyControls(bool showOnlyControls);
    bool GetShowOnlyControls() const { return m_showOnlyControls; }
    void SetCloseButtonVisible(bool visible);
    bool GetCloseButtonVisible() const { return m_closeButtonVisible; }
    // The image file at exactly that path (no folder is added).
    void SetPicture(const Core::String& fileName);
    const Core::String& GetPicture() const { return m_pictureName; }
    void SetInactiveModulationColor(const Color& color) { m_inactiveModulationColor = color; }
    const Color& GetInactiveModulationColor() const { return m_inactiveModulationColor; }
    // Each relays the frame and the close button out; values that are not
    // finite or are negative are ignored.
    void SetCaptionHeight(float height);
    void SetBottomBorderHeight(float height);
    void SetLeftBorderWidth(float width);
    void SetRightBorderWidth(float width);
    float GetCaptionHeight() const { return m_captionHeight; }
    float GetBottomBorderHeight() const { return m_bottomBorderHeight; }
    float GetLeftBorderWidth() const { return m_leftBorderWidth; }
    float GetRightBorderWidth() const { return m_rightBorderWidth; }

    // --- What tests and tools look at ---
    // The caption bar in screen units, clipped to the parent's visible client area.
    NRectangle GetCaptionRectangle() const;
    Button* GetCloseButton() const { return m_closeButton.Get(); }
    GuiImage* GetCaptionImage() const { return m_frames[kCaption].Get(); }
    GuiImage* GetBottomBorderImage() const { return m_frames[kBottomBorder].Get(); }
    GuiImage* GetLeftBorderImage() const { return m_frames[kLeftBorder].Get(); }
    GuiImage* GetRightBorderImage() const { return m_frames[kRightBorder].Get(); }
    bool IsDragging() const { return m_dragging; }
    bool IsBlinking() const { return m_blinkRequested; }
    // Whether the form is the HUD's active form (drawn in the active colour).
    bool IsActive() const;

    // --- Overridden operations ---
    void SetPosition(const Vector2D& position) override;
    void SetVisible(bool visible) override;
    void FireEvent10(const MouseEventRecord& event) override;
    // A press in the caption bar starts dragging (not in show-only-controls mode).
    void FireMouseDown(const MouseEventRecord& event) override;
    void FireEvent13() override;
    void OnSkinChanged() override;
    void PreChildrenUpdate(float dt) override;
    void UpdateVisual(float dt) override;
    Vector2D GetClientOffset() const override { return {m_leftBorderWidth, m_bottomBorderHeight}; }
    void UpdatePosition() override;
    void OnOpacityChanged() override;
    // Takes the focus from the children; the form keeps its own flag.
    void LoseFocus() override;
    void UpdateClientRectangle() override;
    void OnModalAlert() override;
    // Called by Close before the form is queued for destruction.
    virtual void OnClosing() {}

private:
    // Frame images in stream order.
    static constexpr std::size_t kCaption = 0;
    static constexpr std::size_t kBottomBorder = 1;
    static constexpr std::size_t kLeftBorder = 2;
    static constexpr std::size_t kRightBorder = 3;
    static constexpr std::size_t kFrameCount = 4;

    void BuildCloseButton();
    // The close button's click handler.
    void CloseFromButton(Control* sender);
    void HookCloseButton();
    void ApplyCloseButtonVisibility();
    // Frame image sizes, close button size and place; then, after a size
    // change, the whole form placed again.
    void Relayout(bool sizeChanged);
    void PlaceFrames();
    void SetBorder(float& border, float value);
    void DrawPicture(const NRectangle& clip);
    void DrawCaptionText(const NRectangle& clip);
    void StepBlink(float dt, Color& color);

    std::array<Core::RefPtr<GuiImage>, kFrameCount> m_frames;
    Core::RefPtr<Button> m_closeButton;
    Core::String m_pictureName;
    Core::RefPtr<Engine::TextRenderContext> m_pictureRenderer;
    Core::RefPtr<Renderer::ITexture> m_pictureTexture;
    bool m_closeButtonVisible = true;
    bool m_showOnlyControls = false;
    bool m_blinkRequested = false;
    bool m_blinkPhase = true;
    bool m_modal = false;
    float m_blinkToggleTimer = 0.0f;
    float m_blinkTimer = 0.0f;
    float m_captionHeight = 32.0f;
    float m_bottomBorderHeight = 8.0f;
    float m_leftBorderWidth = 8.0f;
    float m_rightBorderWidth = 8.0f;
    Color m_inactiveModulationColor{0.0f, 0.0f, 0.0f, 1.0f};
    bool m_dragging = false;
    Vector2D m_dragOffset;
};

}  // namespace GUI
