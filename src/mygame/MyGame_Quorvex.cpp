#include "mygame/MyGame_Quorvex.h"

#include "mygame/MyGame_WidgetStream.h"

TUN_DEFINE_CLASS(Quorvex)

Quorvex::Quorvex(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

Quorvex::Quorvex(const Quorvex& other) : Sprite(other) {}

void Quorvex::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteU8(m_triggered);
    WriteVector(file, m_start);
    WriteVector(file, m_control);
    WriteVector(file, m_end);
    file.WriteU8(m_direction);
    file.WriteF32(m_angle);
    file.WriteF32(m_t);
}

void Quorvex::Load(Core::File& file) {
    Sprite::Load(file);
    std::uint8_t triggered = m_triggered;
    Vector2D start = m_start;
    Vector2D control = m_control;
    Vector2D end = m_end;
    std::uint8_t direction = m_direction;
    float angle = m_angle;
    float t = m_t;
    ReadFlagByte(file, triggered);
    ReadVector(file, start);
    ReadVector(file, control);
    ReadVector(file, end);
    ReadFlagByte(file, direction);
    ReadFinite(file, angle);
    ReadFinite(file, t);
    if (file.HasFailed()) {
        return;
    }
    m_triggered = triggered;
    m_start = start;
    m_control = control;
    m_end = end;
    m_direction = direction;
    m_angle = angle;
    m_t = t;
}
