#include "gui/GUI_Button.h"

#include "core/Core_File.h"
#include "engine/Engine_BitmapFont.h"
#include "gui/GUI_ControlText.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_Input.h"
#include "gui/GUI_ResourcePaths.h"
#include "renderer/Renderer_TextureManager.h"

#include <algorithm>

namespace GUI {

GUI_DEFINE_CONTROL_CLASS(Button, "GUI::Button");

Button::Button() {
    if (IsHudLoading()) {
        return;
    }
    SetFont(kDefaultFont);
    SetSkin(kDefaultSkin);
    MakeSkinImage(kDefaultSkin, {75.0f, 25.0f});
    m_state = IsFocused() ? State::Focused : State::Normal;
    FetchArrowImages();
}

void Button::FetchArrowImages() {
    m_arrowTexture = TextureManager::GetTexture(GetOverlayFilePath(kArrowImage), true);
    m_disabledArrowTexture = TextureManager::GetTexture(GetOverlayFilePath(kDisabledArrowImage), true);
    m_arrowRenderer = TUN_NEW(Engine::TextRenderContext);
}

void Button::RefreshSkin() { ShowPieceSet(GetPieceSetOf(m_state)); }

// --- Looks: the events change them only while enabled ---

void Button::FireEvent6() {
    if (IsEnabled()) {
        m_state = State::Hover;
    }
    SkinnedControl::FireEvent6();
}

void Button::FireEvent8() {
    if (IsEnabled()) {
        m_state = IsFocused() ? State::Focused : State::Normal;
    }
    SkinnedControl::FireEvent8();
}

void Button::FireEvent10(const MouseEventRecord& event) {
    if (IsEnabled()) {
        m_state = State::Hover;
    }
    SkinnedControl::FireEvent10(event);
}

void Button::FireMouseDown(const MouseEventRecord& event) {
    if (IsEnabled()) {
        m_state = State::Pressed;
    }
    SkinnedControl::FireMouseDown(event);
}

void Button::OnEnabledChanged() { m_state = IsEnabled() ? State::Normal : State::Disabled; }

// A press on the button focuses it: the pressed look stays while the left
// button is held over it.
void Button::GainFocus() {
    if (!IsEnabled()) {
        return;
    }
    Control::GainFocus();
    if (!(IsHovered() && input::IsMouseButtonPressed(0))) {
        m_state = State::Focused;
    }
}

void Button::LoseFocus() {
    if (IsEnabled()) {
        Control::LoseFocus();
        m_state = State::Normal;
    }
}

// --- Drawing ---

void Button::UpdateVisual(float) {
    if (!IsVisible()) {
        return;
    }
    RefreshSkin();
    DrawSkin();
    const NRectangle clip = GetDrawClipRectangle();
    DrawLabel(clip);
    if (GetPassActivationToParent()) {
        DrawArrow(clip);
    }
}

// Centred on the skin's centre piece where it fits, else from its left
// edge; clipped to the centre piece.
void Button::DrawLabel(const NRectangle& clip) {
    const Engine::BitmapFont* font = GetFont();
    const GuiImage* skin = GetSkinImage();
    if (GetText().empty() || font == nullptr || skin == nullptr) {
        return;
    }
    const TRectangle& centre = skin->GetPiece(GuiImage::kCenter);
    NRectangle textClip;
    NRectangle::Intersect(textClip, centre, clip);
    float textWidth = 0.0f;
    float textHeight = 0.0f;
    font->MeasureString(GetText(), textWidth, textHeight);
    const float dx = centre.GetWidth() - textWidth;
    const float dy = centre.GetHeight() - font->GetLineHeight();
    Vector2D origin = centre.GetPosition();
    if (dx > 0.0f) {
        origin.x += dx / 2.0f;
    }
    if (dy > 0.0f) {
        origin.y += dy / 2.0f;
    }
    origin.x += kTextIndent;
    DrawControlText(*this, origin, textClip, IsEnabled() ? GetTextModulationColor() : DisabledTextColor());
}

// Centred on the button, as large as the button's smaller side allows but
// never larger than the image, smoothly filtered.
void Button::DrawArrow(const NRectangle& clip) {
    Graphics* graphics = Graphics::GetInstance();
    const Core::RefPtr<Renderer::ITexture>& texture = IsEnabled() ? m_arrowTexture : m_disabledArrowTexture;
    if (graphics == nullptr || !m_arrowTexture || !texture || !m_arrowRenderer) {
        return;
    }
    graphics->Reset();
    graphics->SetOpacity(GetEffectiveOpacity());
    graphics->SetClip(clip);
    graphics->SetDepth(GetDepth() + 0.01f);
    graphics->SetSmoothFiltering(true);
    graphics->SetColor(GetModulationColor());
    const Vector2D corner = GetAbsolutePosition();
    const float side = std::min({GetWidth(), GetHeight(), static_cast<float>(m_arrowTexture->GetWidth())});
    const TRectangle quad(corner.x + (GetWidth() - side) / 2.0f, corner.y + (GetHeight() - side) / 2.0f, side, side);
    graphics->BuildImageQuad(*m_arrowRenderer, quad, texture);
    Graphics::SubmitImage(m_arrowRenderer);
}

// --- Stream ---

void Button::Save(Core::File& file) const {
    Control::Save(file);
    for (const std::uint32_t pieceSet : m_pieceSets) {
        file.WriteU32(pieceSet);
    }
    file.WriteU32(static_cast<std::uint32_t>(m_state));
    WriteSkinImage(file);
}

void Button::Load(Core::File& file) {
    Control::Load(file);
    std::array<std::uint32_t, kStateCount> pieceSets = m_pieceSets;
    for (std::uint32_t& pieceSet : pieceSets) {
        file.ReadU32(pieceSet);
    }
    auto state = static_cast<std::uint32_t>(m_state);
    file.ReadU32(state);
    if (state >= kStateCount) {
        file.SetFailed();
    }
    Core::RefPtr<GuiImage> skinImage = ReadSkinImage(file);
    if (file.HasFailed()) {
        return;
    }
    m_pieceSets = pieceSets;
    m_state = static_cast<State>(state);
    SetSkinImage(skinImage);
    FetchArrowImages();
}

}  // namespace GUI
