#pragma once

#include "tundra/Tundra_ParticleEmitter.h"

#include <array>

// The six emitter shapes. Each answers from its geometry with random draws
// of the engine's helpers over the C-runtime generator, in a fixed order:
// seeding the generator repeats a shape's answers exactly. Nothing checks
// the geometry; degenerate shapes give what their formulas give.
namespace Tundra {

// Born at one point, leaving at an angle drawn between two limits (degrees).
class PointEmitter : public ParticleEmitter {
    TUN_DECLARE_CLASS(PointEmitter);
    PointEmitter() : PointEmitter(0.0f, 360.0f, {}) {}
    PointEmitter(float minimumAngle, float maximumAngle, const Vector2D& position);
    PointEmitter(const PointEmitter&) = default;

    void PushToLua(lua_State* state) const override;
    // Position, then the two angles.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;
    void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) override;

    float GetMinimumAngle() const { return m_minimumAngle; }
    float GetMaximumAngle() const { return m_maximumAngle; }
    const Vector2D& GetPosition() const { return m_position; }

private:
    float m_minimumAngle;
    float m_maximumAngle;
    Vector2D m_position;
};

// Born anywhere on the segment A-B, leaving along its left normal (zero for
// a segment too short to have one).
class LineEmitter : public ParticleEmitter {
    TUN_DECLARE_CLASS(LineEmitter);
    LineEmitter() = default;
    LineEmitter(const Vector2D& start, const Vector2D& end) : m_start(start), m_end(end) {}
    LineEmitter(const LineEmitter&) = default;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;
    void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) override;

    const Vector2D& GetStart() const { return m_start; }
    const Vector2D& GetEnd() const { return m_end; }

private:
    Vector2D m_start;
    Vector2D m_end;
};

// Born on the circle, leaving outward.
class CircleEmitter : public ParticleEmitter {
    TUN_DECLARE_CLASS(CircleEmitter);
    CircleEmitter() = default;
    CircleEmitter(const Vector2D& centre, float radius) : m_centre(centre), m_radius(radius) {}
    CircleEmitter(const CircleEmitter&) = default;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;
    void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) override;

    const Vector2D& GetCentre() const { return m_centre; }
    float GetRadius() const { return m_radius; }

private:
    Vector2D m_centre;
    float m_radius = 100.0f;
};

// Born inside the disk, leaving away from its centre. The distance is drawn
// uniformly, so births crowd towards the centre.
class DiskEmitter : public ParticleEmitter {
    TUN_DECLARE_CLASS(DiskEmitter);
    DiskEmitter() = default;
    DiskEmitter(const Vector2D& centre, float radius) : m_centre(centre), m_radius(radius) {}
    DiskEmitter(const DiskEmitter&) = default;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;
    void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) override;

    const Vector2D& GetCentre() const { return m_centre; }
    float GetRadius() const { return m_radius; }

private:
    Vector2D m_centre;
    float m_radius = 100.0f;
};

// Four corners C0..C3; edge k runs from Ck to Ck+1 (C3 back to C0). With the
// corners of the (x, y, width, height) constructor and y growing upward,
// edges 0..3 are the bottom, right, top and left sides.
using RectangleCorners = std::array<Vector2D, 4>;

// Born on an edge, leaving along that edge's fixed outward axis. Edges 0 and
// 3 come up half as often as 1 and 2 (the rounded draw of 0..3).
class RectangleEmitter : public ParticleEmitter {
    TUN_DECLARE_CLASS(RectangleEmitter);
    RectangleEmitter() : RectangleEmitter(0.0f, 0.0f, 100.0f, 100.0f) {}
    RectangleEmitter(float x, float y, float width, float height);
    RectangleEmitter(const RectangleEmitter&) = default;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;
    void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) override;

    const RectangleCorners& GetCorners() const { return m_corners; }

private:
    RectangleCorners m_corners;
};

// Born anywhere between C0 and C1 across and C0 and C3 up, leaving along the
// axis of a drawn edge, with the edge weights of the rectangle emitter.
class FilledRectangleEmitter : public ParticleEmitter {
    TUN_DECLARE_CLASS(FilledRectangleEmitter);
    FilledRectangleEmitter() : FilledRectangleEmitter(0.0f, 0.0f, 100.0f, 100.0f) {}
    FilledRectangleEmitter(float x, float y, float width, float height);
    FilledRectangleEmitter(const FilledRectangleEmitter&) = default;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;
    void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) override;

    const RectangleCorners& GetCorners() const { return m_corners; }

private:
    RectangleCorners m_corners;
};

}  // namespace Tundra
