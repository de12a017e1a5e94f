#include "mygame/MyGame_CursorClass.h"

#include "mygame/MyGame_WidgetStream.h"

#include <cmath>

TUN_DEFINE_CLASS(CursorClass)

CursorClass::CursorClass(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

CursorClass::CursorClass(const CursorClass& other) : Sprite(other) {}

void CursorClass::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_leftFill);
    file.WriteF32(m_rightFill);
}

void CursorClass::Load(Core::File& file) {
    Sprite::Load(file);
    float left = m_leftFill;
    float right = m_rightFill;
    ReadFinite(file, left);
    ReadFinite(file, right);
    if (file.HasFailed()) {
        return;
    }
    m_leftFill = left;
    m_rightFill = right;
}

void CursorClass::SetLeftGauge(float fraction) {
    if (!std::isnan(fraction)) {
        m_leftFill = fraction;
    }
}

void CursorClass::SetRightGauge(float fraction) {
    if (!std::isnan(fraction)) {
        m_rightFill = fraction;
    }
}
