#include "mygame/MyGame_CursorSprite.h"

#include "mygame/MyGame_SpriteCrop.h"
#include "mygame/MyGame_WidgetStream.h"

#include <algorithm>
#include <cmath>

TUN_DEFINE_CLASS(CursorSprite)

CursorSprite::CursorSprite(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

CursorSprite::CursorSprite(const CursorSprite& other)
    : Sprite(other), m_fullHeight(other.m_fullHeight), m_fillHeight(other.m_fillHeight) {}

void CursorSprite::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_fullHeight);
    file.WriteF32(m_fillHeight);
}

void CursorSprite::Load(Core::File& file) {
    Sprite::Load(file);
    float fullHeight = m_fullHeight;
    float fillHeight = m_fillHeight;
    ReadFinite(file, fullHeight);
    ReadFinite(file, fillHeight);
    if (fullHeight < 0.0f) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_fullHeight = fullHeight;
    m_fillHeight = fillHeight;
    CropFrameHeight(*this, DrawnHeight());
}

void CursorSprite::OnStart() {
    Sprite::OnStart();
    m_fullHeight = static_cast<float>(GetFrameHeight(0));
    m_fillHeight = m_fullHeight;
}

void CursorSprite::SetFill(float height, float baseY) {
    if (!std::isfinite(height) || !std::isfinite(baseY)) {
        return;
    }
    m_fillHeight = height;
    const float drawn = DrawnHeight();
    CropFrameHeight(*this, drawn);
    // The bottom edge stays at baseY - full height / 2 whatever the fill.
    SetPositionY(baseY + drawn / 2.0f - m_fullHeight / 2.0f);
}

float CursorSprite::DrawnHeight() const { return std::min(std::max(m_fillHeight, 0.0f), m_fullHeight); }
