#include "mygame/MyGame_BossHp.h"

#include "mygame/MyGame_SpriteCrop.h"
#include "mygame/MyGame_WidgetStream.h"

TUN_DEFINE_CLASS(BossHp)

BossHp::BossHp(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

BossHp::BossHp(const BossHp& other)
    : Sprite(other), m_health(other.m_health), m_fullWidth(other.m_fullWidth), m_anchorX(other.m_anchorX) {}

void BossHp::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_health);
    file.WriteF32(m_fullWidth);
    file.WriteF32(m_anchorX);
}

void BossHp::Load(Core::File& file) {
    Sprite::Load(file);
    float health = m_health;
    float fullWidth = m_fullWidth;
    float anchorX = m_anchorX;
    ReadFinite(file, health);
    ReadFinite(file, fullWidth);
    ReadFinite(file, anchorX);
    if (file.HasFailed() || !(health >= 0.0f && health <= 1.0f) || fullWidth < 0.0f) {
        file.SetFailed();
        return;
    }
    m_health = health;
    m_fullWidth = fullWidth;
    m_anchorX = anchorX;
}

void BossHp::OnStart() {
    Sprite::OnStart();
    m_health = 1.0f;
    m_fullWidth = static_cast<float>(GetFrameWidth(GetCurrentAnimationIndex()));
    m_anchorX = GetPositionX();
    SetHealth(1.0f);
}

void BossHp::SetHealth(float health) {
    if (!(health >= 0.0f && health <= 1.0f)) {
        return;
    }
    m_health = health;
    const float width = health * m_fullWidth;
    CropFrameWidth(*this, width);
    // The left edge stays where the full bar's was.
    SetPositionX(width * 0.5f + m_anchorX - 0.5f * m_fullWidth);
}
