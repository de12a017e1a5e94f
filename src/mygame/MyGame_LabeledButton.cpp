#include "mygame/MyGame_LabeledButton.h"

#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_WidgetClone.h"
#include "mygame/MyGame_WidgetStream.h"

TUN_DEFINE_CLASS(LabeledButton)

LabeledButton::LabeledButton(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

LabeledButton::LabeledButton(const LabeledButton& other) : Sprite(other) {}

void LabeledButton::Save(Core::File& file) const {
    Sprite::Save(file);
    file << m_label;
    file.WriteU32(m_state);
    file.WriteF32(m_halfWidth);
    file.WriteF32(m_halfHeight);
    file.WriteU8(m_screenSpace);
    file.WriteU8(m_hasLeaveCallback);
    file.WriteU8(m_showPending);
}

void LabeledButton::Load(Core::File& file) {
    Sprite::Load(file);
    Core::RefPtr<CenteredText> label = m_label;
    std::uint32_t state = m_state;
    float halfWidth = m_halfWidth;
    float halfHeight = m_halfHeight;
    std::uint8_t screenSpace = m_screenSpace;
    std::uint8_t hasLeave = m_hasLeaveCallback;
    std::uint8_t showPending = m_showPending;
    file >> label;
    file.ReadU32(state);
    ReadFinite(file, halfWidth);
    ReadFinite(file, halfHeight);
    ReadFlagByte(file, screenSpace);
    ReadFlagByte(file, hasLeave);
    ReadFlagByte(file, showPending);
    if (state > 2) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_label = label;
    m_state = state;
    m_halfWidth = halfWidth;
    m_halfHeight = halfHeight;
    m_screenSpace = screenSpace;
    m_hasLeaveCallback = hasLeave;
    m_showPending = showPending;
}

void LabeledButton::OnStart() {
    Sprite::OnStart();
    m_state = 0;
    const int animation = GetCurrentAnimationIndex();
    m_halfWidth = static_cast<float>(GetFrameWidth(animation)) * 0.5f;
    m_halfHeight = static_cast<float>(GetFrameHeight(animation)) * 0.5f;
}

void LabeledButton::Destroy() {
    Sprite::Destroy();
    if (m_label != nullptr) {
        const Core::RefPtr<CenteredText> label = std::move(m_label);
        label->Destroy();
    }
}

void LabeledButton::SetVisible(bool visible) {
    Sprite::SetVisible(visible);
    if (m_label != nullptr) {
        m_label->SetVisible(visible);
    }
}

void LabeledButton::SetOpacity(float opacity) {
    Sprite::SetOpacity(opacity);
    if (m_label != nullptr) {
        m_label->SetOpacity(opacity);
    }
}

void LabeledButton::SetLabel(CenteredText* label) {
    m_label = label;
}

void LabeledButton::SetLeaveCallback(std::function<void()> callback) {
    m_leave = std::move(callback);
    m_hasLeaveCallback = 1;
}

LabeledButton* MakeLabeledButton(const Vector2D& position, const Core::String& text, int animationIndex,
                                 std::function<void()> click) {
    auto* button = CloneTemplateToHud<LabeledButton>(kButtonTemplate);
    if (button == nullptr) {
        return nullptr;
    }
    button->SetCurrentAnimationIndex(animationIndex, false);
    button->SetVisible(true);
    button->SetPosition(position);
    button->SetLabel(CreateCenteredText(position, text));
    button->SetClickCallback(std::move(click));
    button->SetScreenSpace(true);
    button->SetOpacity(0.0f);
    return button;
}

LabeledButton* MakeKeyCaptureButton(const Vector2D& position, const Core::String& text, int animationIndex,
                                    std::function<void()> click, std::function<void()> leave) {
    LabeledButton* button = MakeLabeledButton(position, text, animationIndex, std::move(click));
    if (button != nullptr) {
        button->SetLeaveCallback(std::move(leave));
    }
    return button;
}

void LabeledButton::Update(float dt) {
    Sprite::Update(dt);
}
