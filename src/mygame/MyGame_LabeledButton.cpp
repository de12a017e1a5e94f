#include "mygame/MyGame_LabeledButton.h"

#include "input/Input_Mouse.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_FadeStep.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_WidgetClone.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_Sound.h"

#include <array>

TUN_DEFINE_CLASS(LabeledButton)

namespace {

enum ButtonState : std::uint32_t { kIdle = 0, kHovered = 1, kPressed = 2 };

// The colour the label eases toward in each state, how fast, and the frame
// the button shows.
struct StateLook {
    float r, g, b;
    float rate;
    int frame;
};

constexpr std::array<StateLook, 3> kLooks{{
    {0.0f, 0.0f, 0.0f, 2.0f, 0},
    {1.0f, 0.8784314f, 0.2f, 15.0f, 1},
    {0.90588236f, 0.90588236f, 0.90588236f, 15.0f, 2},
}};

void PlayHoverSound() {
    Tundra::Sound* sound = Globals().buttonHoverSound;
    if (sound != nullptr) {
        sound->Rewind();
        sound->Play(false);
    }
}

}  // namespace

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

void LabeledButton::Update(float dt) {
    // As the last frame drew it: a press counts only on a button the player
    // saw, never on one this update shows or fades in.
    const bool drawnShown = IsShown();
    Sprite::Update(dt);
    if (IsDestroyRequested()) {
        return;
    }
    if (m_showPending != 0) {
        SetVisible(true);
        m_showPending = 0;
    }
    const Input::Mouse* mouse = MenuMouse();
    if (!GetVisible() || mouse == nullptr) {
        return;
    }
    Vector2D at = mouse->GetPosition();
    if (m_screenSpace != 0) {
        at = at - kHudCentre;
        SetOpacity(FadedInOpacity(GetOpacity(), dt));
    }
    at = at - GetPosition();
    const bool inside = -m_halfWidth < at.x && at.x < m_halfWidth && -m_halfHeight < at.y && at.y < m_halfHeight;
    if (!FollowMouse(*mouse, inside, drawnShown)) {
        return;
    }
    ShowState(dt);
}

bool LabeledButton::FollowMouse(const Input::Mouse& mouse, bool inside, bool drawnShown) {
    if (!inside) {
        const bool leaving = m_state != kIdle && m_hasLeaveCallback != 0;
        m_state = kIdle;
        return !leaving || Run(m_leave);
    }
    switch (m_state) {
        case kIdle:
            m_state = kHovered;
            PlayHoverSound();
            // A press that goes down as the pointer arrives (a tap, a move
            // and click in one slow frame) is a press on the button.
            [[fallthrough]];
        case kHovered:
            if (mouse.IsDown(0) && drawnShown) {
                m_state = kPressed;
            }
            break;
        case kPressed:
            if (mouse.IsUp(0)) {
                m_state = kIdle;
                return Run(m_click);
            }
            break;
        default:
            break;
    }
    return true;
}

// The callback may destroy this button, rebuild its menu or replace the
// callback itself: the button and a copy of the callback are held while it
// runs. False when the button was destroyed meanwhile.
bool LabeledButton::Run(const std::function<void()>& callback) {
    if (!callback) {
        return true;
    }
    const Core::RefPtr<LabeledButton> held(this);
    const std::function<void()> running = callback;
    running();
    return !IsDestroyRequested();
}

void LabeledButton::ShowState(float dt) {
    const StateLook& look = kLooks[m_state];
    if (m_label != nullptr) {
        Color color = m_label->GetModulationColor();
        color.r = FadeStep(color.r, look.r, dt, look.rate);
        color.g = FadeStep(color.g, look.g, dt, look.rate);
        color.b = FadeStep(color.b, look.b, dt, look.rate);
        m_label->SetModulationColor(color);
    }
    SetCurrentFrameIndex(look.frame, false);
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

bool LabeledButton::IsShown() const { return GetVisible() && IsFadedIn(GetOpacity()); }

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
