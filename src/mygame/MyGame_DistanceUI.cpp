#include "mygame/MyGame_DistanceUI.h"

#include "mygame/MyGame_WidgetStream.h"

TUN_DEFINE_CLASS(DistanceUI)

DistanceUI::DistanceUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

DistanceUI::DistanceUI(const DistanceUI& other) : Sprite(other) {}

void DistanceUI::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_progress);
    file.WriteU8(m_active);
    file.WriteU8(m_warningShown);
}

void DistanceUI::Load(Core::File& file) {
    Sprite::Load(file);
    float progress = m_progress;
    std::uint8_t active = m_active;
    std::uint8_t warningShown = m_warningShown;
    ReadFinite(file, progress);
    ReadFlagByte(file, active);
    ReadFlagByte(file, warningShown);
    if (file.HasFailed()) {
        return;
    }
    m_progress = progress;
    m_active = active;
    m_warningShown = warningShown;
}

void DistanceUI::OnStart() {
    Sprite::OnStart();
    m_active = 0;
    m_warningShown = 0;
}

void DistanceUI::SetActive(bool active) {
    m_active = active ? 1 : 0;
    if (active) {
        m_warningShown = 1;
    }
}
