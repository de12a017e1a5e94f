#include "mygame/MyGame_VolumeControl.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_WidgetStream.h"

#include <algorithm>
#include <cmath>

TUN_DEFINE_CLASS(VolumeControl)

VolumeControl::VolumeControl(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

VolumeControl::VolumeControl(const VolumeControl& other) : Sprite(other) {}

void VolumeControl::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_value);
    file.WriteU8(m_showPending);
}

void VolumeControl::Load(Core::File& file) {
    Sprite::Load(file);
    float value = m_value;
    std::uint8_t showPending = m_showPending;
    ReadFinite(file, value);
    ReadFlagByte(file, showPending);
    if (file.HasFailed()) {
        return;
    }
    m_value = value;
    m_showPending = showPending;
}

void VolumeControl::OnStart() {
    Sprite::OnStart();
    if (const MyGame* game = GetGame()) {
        SetValue(game->GetVolume());
    }
}

void VolumeControl::SetValue(float value) {
    if (!std::isnan(value)) {
        m_value = std::max(value, 0.0f);
    }
}
