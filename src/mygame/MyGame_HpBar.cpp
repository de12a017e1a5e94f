#include "mygame/MyGame_HpBar.h"

#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_SpriteCrop.h"
#include "mygame/MyGame_WidgetStream.h"

#include <algorithm>
#include <cmath>

TUN_DEFINE_CLASS(HpBar)

HpBar::HpBar(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

HpBar::HpBar(const HpBar& other)
    : Sprite(other), m_fraction(other.m_fraction), m_fullWidth(other.m_fullWidth), m_baseX(other.m_baseX) {}

void HpBar::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_fraction);
    file.WriteF32(m_fullWidth);
    file.WriteF32(m_baseX);
}

void HpBar::Load(Core::File& file) {
    Sprite::Load(file);
    float fraction = m_fraction;
    float fullWidth = m_fullWidth;
    float baseX = m_baseX;
    ReadFinite(file, fraction);
    ReadFinite(file, fullWidth);
    ReadFinite(file, baseX);
    if (fraction < 0.0f || fullWidth < 0.0f) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_fraction = fraction;
    m_fullWidth = fullWidth;
    m_baseX = baseX;
    ApplyCrop();
}

void HpBar::OnStart() {
    Sprite::OnStart();
    m_fraction = 1.0f;
    m_fullWidth = static_cast<float>(GetFrameWidth(GetCurrentAnimationIndex()));
    m_baseX = GetPositionX();
    SetHealth(1.0f);
}

void HpBar::SetHealth(float fraction) {
    if (!std::isfinite(fraction)) {
        return;
    }
    const float f = std::max(fraction, 0.0f);
    m_fraction = f;
    ApplyCrop();
    const float drawn = DrawnFraction(f) * m_fullWidth;
    SetPositionX(m_baseX + drawn / 2.0f - m_fullWidth / 2.0f);
    SetModulationColor(RedToGreen(f));
}

void HpBar::ApplyCrop() const { CropFrameWidth(*this, DrawnFraction(m_fraction) * m_fullWidth); }
