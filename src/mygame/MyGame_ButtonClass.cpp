#include "mygame/MyGame_ButtonClass.h"

#include "input/Input_Mouse.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_WidgetStream.h"

TUN_DEFINE_CLASS(ButtonClass)

ButtonClass::ButtonClass(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

ButtonClass::ButtonClass(const ButtonClass& other) : Sprite(other) {}

void ButtonClass::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_width);
    file.WriteF32(m_height);
    WriteVector(file, m_cursor);
    file.WriteU32(m_state);
}

void ButtonClass::Load(Core::File& file) {
    Sprite::Load(file);
    float width = m_width;
    float height = m_height;
    Vector2D cursor = m_cursor;
    std::uint32_t state = m_state;
    ReadFinite(file, width);
    ReadFinite(file, height);
    ReadVector(file, cursor);
    file.ReadU32(state);
    if (state > kHovered) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_width = width;
    m_height = height;
    m_cursor = cursor;
    m_state = state;
}

void ButtonClass::OnStart() {
    Sprite::OnStart();
    const int animation = GetCurrentAnimationIndex();
    SetHitSize(static_cast<float>(GetFrameWidth(animation)), static_cast<float>(GetFrameHeight(animation)));
    m_state = kIdle;
}

void ButtonClass::SetHitSize(float width, float height) {
    m_width = width;
    m_height = height;
}

void ButtonClass::OnStateChange() {
    m_state = m_state == kPressed ? kReleased : kHovered;
}

void ButtonClass::OnPress() {
    m_state = kPressed;
}

void ButtonClass::Update(float dt) {
    Sprite::Update(dt);
    const Input::Mouse* mouse = MenuMouse();
    if (IsDestroyRequested() || !GetVisible() || mouse == nullptr) {
        return;
    }
    m_cursor = mouse->GetPosition();
    const Vector2D mouseAt = m_cursor - kHudCentre;
    const Vector2D& at = GetPosition();
    const bool over = at.x - m_width / 2.0f <= mouseAt.x && mouseAt.x <= at.x + m_width / 2.0f &&
                      at.y - m_height / 2.0f <= mouseAt.y && mouseAt.y <= at.y + m_height / 2.0f;
    if (!over) {
        m_state = kIdle;
    } else if (mouse->IsPressed(0)) {
        OnPress();
    } else if (mouse->IsUp(0)) {
        OnStateChange();
    } else {
        m_state = kHovered;
    }
    ShowFrameOfState();
}

void ButtonClass::ShowFrameOfState() {
    switch (m_state) {
        case kIdle:
        case kReleased:
            SetCurrentFrameIndex(0, false);
            break;
        case kHovered:
            SetCurrentFrameIndex(1, false);
            break;
        case kPressed:
            SetCurrentFrameIndex(2, false);
            break;
        default:
            break;
    }
}
