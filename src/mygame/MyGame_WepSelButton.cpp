#include "mygame/MyGame_WepSelButton.h"

#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_WidgetStream.h"

TUN_DEFINE_CLASS(WepSelButton)

WepSelButton::WepSelButton(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : ButtonClass(animations) {}

WepSelButton::WepSelButton(const WepSelButton& other)
    : ButtonClass(other), m_clicked(other.m_clicked), m_inset(other.m_inset), m_showPending(other.m_showPending) {}

void WepSelButton::Save(Core::File& file) const {
    ButtonClass::Save(file);
    file.WriteU8(m_clicked);
    file.WriteI32(m_inset);
    file.WriteU8(m_showPending);
}

void WepSelButton::Load(Core::File& file) {
    ButtonClass::Load(file);
    std::uint8_t clicked = m_clicked;
    std::int32_t inset = m_inset;
    std::uint8_t showPending = m_showPending;
    ReadFlagByte(file, clicked);
    file.ReadI32(inset);
    ReadFlagByte(file, showPending);
    if (inset < 0) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_clicked = clicked;
    m_inset = inset;
    m_showPending = showPending;
}

// The icons sit close together in their column: the inset keeps a click on
// the seam from landing on two of them.
void WepSelButton::OnStart() {
    Sprite::OnStart();
    m_inset = kInset;
    const int animation = GetCurrentAnimationIndex();
    SetHitSize(static_cast<float>(GetFrameWidth(animation) - m_inset),
               static_cast<float>(GetFrameHeight(animation) - m_inset));
    SetState(kIdle);
    m_clicked = 0;
    m_showPending = 0;
}

void WepSelButton::Update(float dt) {
    ButtonClass::Update(dt);
    FadeInAndShowPending(*this, m_showPending, dt);
}

void WepSelButton::OnStateChange() {
    ButtonClass::OnStateChange();
    m_clicked = 1;
}
