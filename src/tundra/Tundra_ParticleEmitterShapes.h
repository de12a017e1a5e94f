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

private:
    Vector2D m_start;
    Vector2D m_end;
};

// The fields circle and disk share, centre and radius, and their stream form.
class RoundEmitter : public ParticleEmitter {
public:
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

protected:
    RoundEmitter(const Vector2D& centre, float radius) : m_centre(centre), m_radius(radius) {}
    RoundEmitter(const RoundEmitter&) = default;

    Vector2D m_centre;
    float m_radius;
};

// Born on the circle, leaving outward.
class CircleEmitter : public RoundEmitter {
    TUN_DECLARE_CLASS(CircleEmitter);
    CircleEmitter() : CircleEmitter({}, 100.0f) {}
    CircleEmitter(const Vector2D& centre, float radius) : RoundEmitter(centre, radius) {}
    CircleEmitter(const CircleEmitter&) = default;

    void PushToLua(lua_State* state) const override;
    void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) override;
};

// Born inside the disk, leaving away from its centre. The distance is drawn
// uniformly, so births crowd towards the centre.
class DiskEmitter : public RoundEmitter {
    TUN_DECLARE_CLASS(DiskEmitter);
    DiskEmitter() : DiskEmitter({}, 100.0f) {}
    DiskEmitter(const Vector2D& centre, float radius) : RoundEmitter(centre, radius) {}
    DiskEmitter(const DiskEmitter&) = default;

    void PushToLua(lua_State* state) const override;
    void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) override;
};

// The four corners both rectangle emitters keep, and their stream form.
// Edge k runs from corner k to corner k + 1 (the last back to the first).
// With the corners of the (x, y, width, height) constructor and y growing
// upward, edges 0..3 are the bottom, right, top and left sides; nothing
// checks that stored corners form such a rectangle.
class RectangularEmitter : public ParticleEmitter {
public:
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

protected:
    RectangularEmitter(float x, float y, float width, float height);
    RectangularEmitter(const RectangularEmitter&) = default;

    // Edges 0 and 3 come up half as often as 1 and 2 (the rounded draw of 0..3).
    static int DrawEdge();
    // The edge's outward axis.
    static Vector2D EdgeDirection(int edge);

    std::array<Vector2D, 4> m_corners;
};

// Born on an edge, leaving along that edge's outward axis.
class RectangleEmitter : public RectangularEmitter {
    TUN_DECLARE_CLASS(RectangleEmitter);
    RectangleEmitter() : RectangleEmitter(0.0f, 0.0f, 100.0f, 100.0f) {}
    RectangleEmitter(float x, float y, float width, float height) : RectangularEmitter(x, y, width, height) {}
    RectangleEmitter(const RectangleEmitter&) = default;

    void PushToLua(lua_State* state) const override;
    void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) override;
};

// Born anywhere between C0 and C1 across and C0 and C3 up, leaving along the
// axis of a drawn edge, with the edge weights of the rectangle emitter.
class FilledRectangleEmitter : public RectangularEmitter {
    TUN_DECLARE_CLASS(FilledRectangleEmitter);
    FilledRectangleEmitter() : FilledRectangleEmitter(0.0f, 0.0f, 100.0f, 100.0f) {}
    FilledRectangleEmitter(float x, float y, float width, float height) : RectangularEmitter(x, y, width, height) {}
    FilledRectangleEmitter(const FilledRectangleEmitter&) = default;

    void PushToLua(lua_State* state) const override;
    void GetPositionAndDirection(float time, Vector2D& position, Vector2D& direction) override;
};

}  // namespace Tundra
