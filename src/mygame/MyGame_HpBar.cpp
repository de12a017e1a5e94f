#include "mygame/MyGame_HpBar.h"

#include "mygame/MyGame_WidgetStream.h"

#include <algorithm>
#include <cmath>

TUN_DEFINE_CLASS(HpBar)

HpBar::HpBar(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

HpBar::HpBar(const HpBar& other) : Sprite(other) {}

void HpBar::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_fraction);
}

void HpBar::Load(Core::File& file) {
    Sprite::Load(file);
    ReadFinite(file, m_fraction);
}

void HpBar::OnStart() {
    Sprite::OnStart();
    SetHealth(1.0f);
}

void HpBar::SetHealth(float fraction) {
    if (std::isnan(fraction)) {
        return;
    }
    m_fraction = std::max(fraction, 0.0f);
}
