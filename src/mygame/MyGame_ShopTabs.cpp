#include "mygame/MyGame_ShopTabs.h"

#include "input/Input_Mouse.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_WidgetStream.h"

TUN_DEFINE_CLASS(ShopTabs)

ShopTabs::ShopTabs(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

ShopTabs::ShopTabs(const ShopTabs& other) : Sprite(other) {}

void ShopTabs::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_hitHeight);
    file.WriteF32(m_hitWidth);
    file.WriteI32(m_inset);
    file.WriteU8(m_selected);
    WriteVector(file, m_lastMouse);
    file.WriteU8(m_pressed);
    file.WriteU8(m_showPending);
}

void ShopTabs::Load(Core::File& file) {
    Sprite::Load(file);
    float hitHeight = m_hitHeight;
    float hitWidth = m_hitWidth;
    std::int32_t inset = m_inset;
    std::uint8_t selected = m_selected;
    Vector2D lastMouse = m_lastMouse;
    std::uint8_t pressed = m_pressed;
    std::uint8_t showPending = m_showPending;
    ReadFinite(file, hitHeight);
    ReadFinite(file, hitWidth);
    file.ReadI32(inset);
    ReadFlagByte(file, selected);
    ReadVector(file, lastMouse);
    ReadFlagByte(file, pressed);
    ReadFlagByte(file, showPending);
    if (hitHeight < 0.0f || hitWidth < 0.0f || inset != kInset) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_hitHeight = hitHeight;
    m_hitWidth = hitWidth;
    m_inset = inset;
    m_selected = selected;
    m_lastMouse = lastMouse;
    m_pressed = pressed;
    m_showPending = showPending;
}

void ShopTabs::OnStart() {
    Sprite::OnStart();
    m_inset = kInset;
    m_hitWidth = static_cast<float>(GetFrameWidth(0) - m_inset);
    m_hitHeight = static_cast<float>(GetFrameHeight(0) - m_inset);
    m_pressed = 0;
}

void ShopTabs::Update(float dt) {
    Sprite::Update(dt);
    if (IsDestroyRequested()) {
        return;
    }
    FadeInAndShowPending(*this, m_showPending, dt);
    const Input::Mouse* mouse = MenuMouse();
    if (GetVisible() && mouse != nullptr) {
        m_lastMouse = mouse->GetPosition();
        if (m_selected != 0) {
            SetCurrentFrameIndex(kSelectedFrame, false);
        }
        const Vector2D at = m_lastMouse - kHudCentre - GetPosition();
        const bool over = -m_hitWidth * 0.5f <= at.x && at.x <= m_hitWidth * 0.5f && -m_hitHeight * 0.5f <= at.y &&
                          at.y <= m_hitHeight * 0.5f;
        if (over && m_selected == 0) {
            SetCurrentFrameIndex(kHoveredFrame, false);
            if (mouse->IsPressed(0)) {
                m_pressed = 1;
            } else if (mouse->IsUp(0) && m_pressed != 0) {
                m_selected = 1;
                m_pressed = 0;
            }
        } else if (!over && m_selected == 0) {
            SetCurrentFrameIndex(kNormalFrame, false);
        }
    }
}
