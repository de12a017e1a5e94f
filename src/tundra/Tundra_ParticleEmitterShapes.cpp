#include "tundra/Tundra_ParticleEmitterShapes.h"

#include "core/Core_File.h"
#include "core/Core_Random.h"

#include <cmath>

namespace Tundra {
namespace {

constexpr float kFullTurn = 6.2831855f;

Vector2D UnitAt(float radians) { return {std::cos(radians), std::sin(radians)}; }

}  // namespace

PointEmitter::PointEmitter(float minimumAngle, float maximumAngle, const Vector2D& position)
    : m_minimumAngle(minimumAngle), m_maximumAngle(maximumAngle), m_position(position) {}

void PointEmitter::PushToLua(lua_State* state) const { PushToLuaAs(state, "PointEmitter"); }

void PointEmitter::Save(Core::File& file) const {
    ParticleEmitter::Save(file);
    file << m_position;
    file.WriteF32(m_minimumAngle);
    file.WriteF32(m_maximumAngle);
}

void PointEmitter::Load(Core::File& file) {
    ParticleEmitter::Load(file);
    file >> m_position;
    file.ReadF32(m_minimumAngle);
    file.ReadF32(m_maximumAngle);
}

void PointEmitter::GetPositionAndDirection(float, Vector2D& position, Vector2D& direction) {
    position = m_position;
    direction = UnitAt(RandomFloatRange(m_minimumAngle, m_maximumAngle) * kParticleDegreesToRadians);
}

void LineEmitter::PushToLua(lua_State* state) const { PushToLuaAs(state, "LineEmitter"); }

void LineEmitter::Save(Core::File& file) const {
    ParticleEmitter::Save(file);
    file << m_start << m_end;
}

void LineEmitter::Load(Core::File& file) {
    ParticleEmitter::Load(file);
    file >> m_start >> m_end;
}

void LineEmitter::GetPositionAndDirection(float, Vector2D& position, Vector2D& direction) {
    const Vector2D along = m_end - m_start;
    position = m_start + RandomFloatRange(0.0f, 1.0f) * along;
    direction = {-along.y, along.x};
    direction.Normalize();
}

void RoundEmitter::Save(Core::File& file) const {
    ParticleEmitter::Save(file);
    file << m_centre;
    file.WriteF32(m_radius);
}

void RoundEmitter::Load(Core::File& file) {
    ParticleEmitter::Load(file);
    file >> m_centre;
    file.ReadF32(m_radius);
}

void CircleEmitter::PushToLua(lua_State* state) const { PushToLuaAs(state, "CircleEmitter"); }

void CircleEmitter::GetPositionAndDirection(float, Vector2D& position, Vector2D& direction) {
    direction = UnitAt(RandomFloatRange(0.0f, kFullTurn));
    position = m_centre + m_radius * direction;
}

void DiskEmitter::PushToLua(lua_State* state) const { PushToLuaAs(state, "DiskEmitter"); }

void DiskEmitter::GetPositionAndDirection(float, Vector2D& position, Vector2D& direction) {
    const float distance = RandomFloatRange(0.0f, m_radius);
    direction = UnitAt(RandomFloatRange(0.0f, kFullTurn));
    position = m_centre + distance * direction;
}

RectangularEmitter::RectangularEmitter(float x, float y, float width, float height)
    : m_corners{Vector2D(x, y), Vector2D(x + width, y), Vector2D(x + width, y + height), Vector2D(x, y + height)} {}

void RectangularEmitter::Save(Core::File& file) const {
    ParticleEmitter::Save(file);
    for (const Vector2D& corner : m_corners) {
        file << corner;
    }
}

void RectangularEmitter::Load(Core::File& file) {
    ParticleEmitter::Load(file);
    for (Vector2D& corner : m_corners) {
        file >> corner;
    }
}

int RectangularEmitter::DrawEdge() { return RandomRoundedInt(3); }

Vector2D RectangularEmitter::EdgeDirection(int edge) {
    static const Vector2D kDirections[4] = {{0.0f, -1.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}};
    return kDirections[edge];
}

void RectangleEmitter::PushToLua(lua_State* state) const { PushToLuaAs(state, "RectangleEmitter"); }

void RectangleEmitter::GetPositionAndDirection(float, Vector2D& position, Vector2D& direction) {
    const int edge = DrawEdge();
    const Vector2D& start = m_corners[edge];
    const Vector2D& end = m_corners[(edge + 1) % 4];
    position = start + RandomFloatRange(0.0f, 1.0f) * (end - start);
    direction = EdgeDirection(edge);
}

void FilledRectangleEmitter::PushToLua(lua_State* state) const { PushToLuaAs(state, "FilledRectangleEmitter"); }

void FilledRectangleEmitter::GetPositionAndDirection(float, Vector2D& position, Vector2D& direction) {
    const int edge = DrawEdge();
    const float x = RandomFloatRange(m_corners[0].x, m_corners[1].x);
    const float y = RandomFloatRange(m_corners[0].y, m_corners[3].y);
    position = {x, y};
    direction = EdgeDirection(edge);
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::PointEmitter)
TUN_DEFINE_CLASS(Tundra::LineEmitter)
TUN_DEFINE_CLASS(Tundra::CircleEmitter)
TUN_DEFINE_CLASS(Tundra::DiskEmitter)
TUN_DEFINE_CLASS(Tundra::RectangleEmitter)
TUN_DEFINE_CLASS(Tundra::FilledRectangleEmitter)
