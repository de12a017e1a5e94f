#include "gui/GUI_Form.h"

#include "core/Core_File.h"
#include "engine/Engine_BitmapFont.h"
#include "gui/GUI_ControlText.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_Input.h"
#include "gui/GUI_ResourcePaths.h"
#include "renderer/Renderer_TextureManager.h"

#include <algorithm>
#include <cmath>

namespace GUI {
namespace {

// The skin's piece set of each frame image, in stream order: caption,
// bottom, left, right.
constexpr std::array<std::uint32_t, 4> kFramePieceSets{0, 3, 1, 2};

// The close button's piece sets for normal, pressed, hover, disabled, focused.
constexpr std::uint32_t kCloseNormal = 4;
constexpr std::uint32_t kClosePressed = 5;
constexpr std::uint32_t kCloseHover = 6;

}  // namespace

GUI_DEFINE_CONTROL_CLASS(Form, "GUI::Form");

Form::Form() {
    if (IsHudLoading()) {
        return;
    }
    StoreSize(256.0f, 256.0f);
    SetSkin(kDefaultSkin);
    BuildCloseButton();
    SetPicture(GetSkinsFolderFilePath(kDefaultPicture));
    SetPosition({0.0f, 0.0f});
    SetFont(kDefaultFont);
    SetModulationColor(DefaultActiveColor());
    m_inactiveModulationColor = DefaultInactiveColor();
}

Form::~Form() {
    if (m_closeButton) {
        m_closeButton->RemoveEventHandlersFor(this);
    }
}

bool Form::IsActive() const {
    const HUD* hud = HUD::GetInstance();
    return hud != nullptr && hud->GetActiveForm() == this;
}

// --- Close button ---

void Form::BuildCloseButton() {
    m_closeButton = TUN_NEW(Button);
    Relayout(false);
    m_closeButton->SetSkin(kDefaultSkin);
    m_closeButton->SetNormalPieceSet(kCloseNormal);
    m_closeButton->SetPressedPieceSet(kClosePressed);
    m_closeButton->SetHoverPieceSet(kCloseHover);
    m_closeButton->SetDisabledPieceSet(kCloseNormal);
    m_closeButton->SetFocusedPieceSet(kCloseNormal);
    m_closeButton->RefreshSkin();
    m_closeButton->SetTabStop(false);
    m_closeButton->SetClipMode(kClipToParent);
    m_closeButton->SetName(kCloseButtonName);
    m_closeButton->SetAcceptsEnter(false);
    HookCloseButton();
    AddControl(m_closeButton.Get());
}

void Form::HookCloseButton() {
    if (m_closeButton) {
        m_closeButton->AddEventHandler(
            ControlEvent::Click, std::make_shared<MemberFunction1Param<Form, Control*>>(this, &Form::CloseFromButton));
    }
}

void Form::CloseFromButton(Control*) { Close(); }

void Form::ApplyCloseButtonVisibility() {
    if (m_closeButton) {
        m_closeButton->SetVisible(m_closeButtonVisible && IsVisible() && !m_showOnlyControls);
    }
}

// --- Window operations ---

void Form::Close() {
    const Core::RefPtr<Form> self(this);
    OnClosing();
    if (HUD* hud = HUD::GetInstance()) {
        hud->QueueDestroy(this);
    }
}

void Form::SetModal(bool modal) {
    if (modal == m_modal) {
        return;
    }
    m_modal = modal;
    HUD* hud = HUD::GetInstance();
    if (hud == nullptr) {
        return;
    }
    if (modal) {
        if (auto* previous = dynamic_cast<Form*>(hud->GetModalForm()); previous != nullptr && previous != this) {
            previous->m_modal = false;
        }
        hud->SetModalForm(this);
    } else if (hud->GetModalForm() == this) {
        hud->SetModalForm(nullptr);
    }
}

void Form::OnModalAlert() {
    if (IsActive()) {
        m_blinkRequested = true;
    }
}

void Form::SetShowOnlyControls(bool showOnlyControls) {
    m_showOnlyControls = showOnlyControls;
    ApplyCloseButtonVisibility();
}

void Form::SetCloseButtonVisible(bool visible) {
    m_closeButtonVisible = visible;
    ApplyCloseButtonVisibility();
}

void Form::SetPicture(const Core::String& fileName) {
    m_pictureName = fileName;
    m_pictureTexture = TextureManager::GetTexture(fileName, true);
    m_pictureRenderer = TUN_NEW(Engine::TextRenderContext);
}

void Form::SetCaptionHeight(float height) { SetBorder(m_captionHeight, height); }
void Form::SetBottomBorderHeight(float height) { SetBorder(m_bottomBorderHeight, height); }
void Form::SetLeftBorderWidth(float width) { SetBorder(m_leftBorderWidth, width); }
void Form::SetRightBorderWidth(float width) { SetBorder(m_rightBorderWidth, width); }

void Form::SetBorder(float& border, float value) {
    if (!std::isfinite(value) || value < 0.0f) {
        return;
    }
    border = value;
    Relayout(false);
    UpdatePosition();
}

// --- Layout ---

void Form::OnSkinChanged() {
    const Core::String skin = GetSkinFilePath(GetSkin());
    for (std::size_t frame = 0; frame < kFrameCount; ++frame) {
        Core::RefPtr<GuiImage>& image = m_frames[frame];
        image = image ? image->CloneWithSkin(skin) : Core::RefPtr<GuiImage>(TUN_NEW(GuiImage, skin, Vector2D{}));
        image->SetPieceSet(kFramePieceSets[frame]);
    }
    Relayout(false);
    PlaceFrames();
}

void Form::Relayout(bool sizeChanged) {
    const float width = GetWidth();
    const float height = GetHeight();
    const float sideHeight = height - m_captionHeight - m_bottomBorderHeight;
    const std::array<Vector2D, kFrameCount> sizes{Vector2D{width, m_captionHeight}, Vector2D{width, m_bottomBorderHeight},
                                                  Vector2D{m_leftBorderWidth, sideHeight},
                                                  Vector2D{m_rightBorderWidth, sideHeight}};
    for (std::size_t frame = 0; frame < kFrameCount; ++frame) {
        if (m_frames[frame]) {
            m_frames[frame]->SetWidth(sizes[frame].x);
            m_frames[frame]->SetHeight(sizes[frame].y);
        }
    }
    if (m_closeButton) {
        const float side = std::clamp(m_captionHeight - 2.0f, kMinCloseButtonSide, kMaxCloseButtonSide);
        m_closeButton->SetSize({side, side});
        m_closeButton->SetPosition({width - m_leftBorderWidth - m_closeButton->GetWidth() - 2.0f,
                                    height - m_bottomBorderHeight - m_closeButton->GetHeight() - 2.0f});
    }
    if (sizeChanged) {
        SetPosition(GetPosition());
    }
}

void Form::PlaceFrames() {
    const Vector2D corner = GetAbsolutePosition();
    const std::array<Vector2D, kFrameCount> places{
        Vector2D{corner.x, corner.y + GetHeight() - m_captionHeight}, corner,
        Vector2D{corner.x, corner.y + m_bottomBorderHeight},
        Vector2D{corner.x + GetWidth() - m_rightBorderWidth, corner.y + m_bottomBorderHeight}};
    for (std::size_t frame = 0; frame < kFrameCount; ++frame) {
        if (m_frames[frame]) {
            m_frames[frame]->SetPosition(places[frame]);
        }
    }
}

void Form::SetPosition(const Vector2D& position) {
    Control::SetPosition(position);
    PlaceFrames();
}

void Form::UpdatePosition() {
    PlaceFrames();
    Control::UpdatePosition();
}

void Form::UpdateClientRectangle() {
    const NRectangle& r = GetRectangle();
    SetClientRectangle({r.GetX() + m_leftBorderWidth, r.GetY() + m_bottomBorderHeight,
                        r.GetWidth() - m_rightBorderWidth - m_leftBorderWidth,
                        r.GetHeight() - m_captionHeight - m_bottomBorderHeight});
}

void Form::FireEvent13() {
    Relayout(true);
    Control::FireEvent13();
}

void Form::SetVisible(bool visible) {
    Control::SetVisible(visible);
    ApplyCloseButtonVisibility();
}

// The close button's own opacity hook follows the form: giving it the
// form's opacity as its own would count the form's twice.
void Form::OnOpacityChanged() {
    const float opacity = GetEffectiveOpacity();
    for (const Core::RefPtr<GuiImage>& image : m_frames) {
        if (image) {
            image->SetOpacity(opacity);
        }
    }
}

void Form::LoseFocus() {
    if (!IsEnabled()) {
        return;
    }
    ResetTabCursors();
    const auto children = GetChildren();
    for (const Core::RefPtr<Control>& child : children) {
        child->LoseFocus();
    }
}

// --- Dragging ---

NRectangle Form::GetCaptionRectangle() const {
    const Vector2D corner = GetAbsolutePosition();
    NRectangle caption(corner.x, corner.y + GetHeight() - m_captionHeight, GetWidth(), m_captionHeight);
    if (const Control* parent = GetParent()) {
        NRectangle::Intersect(caption, caption, parent->GetVisibleClientRectangle());
    }
    return caption;
}

void Form::FireMouseDown(const MouseEventRecord& event) {
    if (!m_showOnlyControls && GetCaptionRectangle().IsInside(event.position.x, event.position.y)) {
        m_dragging = true;
        m_dragOffset = event.position - GetPosition();
    }
    Control::FireMouseDown(event);
}

void Form::FireEvent10(const MouseEventRecord& event) {
    m_dragging = false;
    m_dragOffset = Vector2D();
    Control::FireEvent10(event);
}

void Form::PreChildrenUpdate(float) {
    if (m_dragging && input::IsMouseMoved()) {
        SetPosition(GetMousePosition() - m_dragOffset);
    }
}

// --- Drawing ---

void Form::StepBlink(float dt, Color& color) {
    m_blinkToggleTimer += dt;
    if (m_blinkToggleTimer > kBlinkToggleTime) {
        m_blinkToggleTimer = 0.0f;
        m_blinkPhase = !m_blinkPhase;
    }
    color = m_blinkPhase ? m_inactiveModulationColor : GetModulationColor();
    m_blinkTimer += dt;
    if (m_blinkTimer > kBlinkTime) {
        color = GetModulationColor();
        m_blinkToggleTimer = 0.0f;
        m_blinkTimer = 0.0f;
        m_blinkRequested = false;
        m_blinkPhase = true;
    }
}

void Form::UpdateVisual(float dt) {
    if (m_showOnlyControls || !IsVisible()) {
        return;
    }
    const bool active = IsActive();
    Color color = active ? GetModulationColor() : m_inactiveModulationColor;
    if (active && m_blinkRequested) {
        StepBlink(dt, color);
    }
    const NRectangle clip = GetParent() != nullptr ? GetParent()->GetClientRectangle() : GetDrawClipRectangle();
    for (const Core::RefPtr<GuiImage>& image : m_frames) {
        if (image) {
            image->SetColor(color);
            image->SetDepth(GetDepth());
            image->Draw(clip);
        }
    }
    DrawPicture(clip);
    DrawCaptionText(clip);
}

void Form::DrawPicture(const NRectangle& clip) {
    Graphics* graphics = Graphics::GetInstance();
    if (graphics == nullptr || !m_pictureTexture || !m_pictureRenderer) {
        return;
    }
    graphics->Reset();
    graphics->SetClip(clip);
    graphics->SetDepth(GetDepth());
    graphics->SetOpacity(GetEffectiveOpacity());
    graphics->BuildImageQuad(*m_pictureRenderer, TRectangle(GetVisibleClientRectangle()), m_pictureTexture);
    Graphics::SubmitImage(m_pictureRenderer);
}

// From the caption's left edge, centred in its height when the text is lower.
void Form::DrawCaptionText(const NRectangle& clip) {
    const Engine::BitmapFont* font = GetFont();
    const GuiImage* caption = m_frames[kCaption].Get();
    if (GetText().empty() || font == nullptr || caption == nullptr) {
        return;
    }
    float textWidth = 0.0f;
    float textHeight = 0.0f;
    font->MeasureString(GetText(), textWidth, textHeight);
    Vector2D origin = caption->GetPosition();
    if (textHeight < m_captionHeight) {
        origin.y += (m_captionHeight - textHeight) / 2.0f;
    }
    DrawControlText(*this, origin, clip, GetTextModulationColor());
}

// --- Stream ---

void Form::Save(Core::File& file) const {
    Control::Save(file);
    for (const Core::RefPtr<GuiImage>& image : m_frames) {
        file << image.Get();
    }
    file << m_closeButton.Get();
    file.WriteString(m_pictureName);
    for (const bool flag : {m_closeButtonVisible, m_showOnlyControls, m_blinkRequested, m_blinkPhase, m_modal}) {
        file.WriteU8(flag ? 1 : 0);
    }
    for (const float value : {m_blinkToggleTimer, m_blinkTimer, m_captionHeight, m_bottomBorderHeight,
                              m_leftBorderWidth, m_rightBorderWidth}) {
        file.WriteF32(value);
    }
    file << m_inactiveModulationColor;
    file.WriteU8(m_dragging ? 1 : 0);
    file.WriteF32(m_dragOffset.x);
    file.WriteF32(m_dragOffset.y);
}

void Form::Load(Core::File& file) {
    Control::Load(file);
    std::array<Core::RefPtr<GuiImage>, kFrameCount> frames;
    for (Core::RefPtr<GuiImage>& image : frames) {
        image = file.ReadObjectAs<GuiImage>(Core::File::Reference::Owning);
    }
    Core::RefPtr<Button> closeButton = file.ReadObjectAs<Button>(Core::File::Reference::Owning);
    Core::String pictureName;
    file.ReadString(pictureName);
    bool closeButtonVisible = m_closeButtonVisible;
    bool showOnlyControls = m_showOnlyControls;
    bool blinkRequested = m_blinkRequested;
    bool blinkPhase = m_blinkPhase;
    bool modal = m_modal;
    for (bool* flag : {&closeButtonVisible, &showOnlyControls, &blinkRequested, &blinkPhase, &modal}) {
        file.ReadBool(*flag);
    }
    float blinkToggleTimer = m_blinkToggleTimer;
    float blinkTimer = m_blinkTimer;
    std::array<float, 4> borders{m_captionHeight, m_bottomBorderHeight, m_leftBorderWidth, m_rightBorderWidth};
    file.ReadF32(blinkToggleTimer);
    file.ReadF32(blinkTimer);
    for (float& border : borders) {
        file.ReadF32(border);
    }
    if (std::any_of(borders.begin(), borders.end(), [](float border) { return !std::isfinite(border); })) {
        file.SetFailed();
    }
    Color inactive = m_inactiveModulationColor;
    bool dragging = m_dragging;
    Vector2D dragOffset = m_dragOffset;
    file >> inactive;
    file.ReadBool(dragging);
    file.ReadF32(dragOffset.x);
    file.ReadF32(dragOffset.y);
    if (file.HasFailed()) {
        return;
    }
    if (m_closeButton && m_closeButton != closeButton) {
        m_closeButton->RemoveEventHandlersFor(this);
    }
    m_frames = std::move(frames);
    m_closeButton = std::move(closeButton);
    m_closeButtonVisible = closeButtonVisible;
    m_showOnlyControls = showOnlyControls;
    m_blinkRequested = blinkRequested;
    m_blinkPhase = blinkPhase;
    m_modal = modal;
    m_blinkToggleTimer = blinkToggleTimer;
    m_blinkTimer = blinkTimer;
    m_captionHeight = borders[0];
    m_bottomBorderHeight = borders[1];
    m_leftBorderWidth = borders[2];
    m_rightBorderWidth = borders[3];
    m_inactiveModulationColor = inactive;
    m_dragging = dragging;
    m_dragOffset = dragOffset;
    SetPicture(pictureName);
    HookCloseButton();
}

}  // namespace GUI
