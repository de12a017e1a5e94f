#pragma once

#include "core/Core_Object.h"
#include "core/Core_String.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_BezierSegment.h"
#include "tundra/Tundra_UnclonableClass.h"

#include <cstdint>
#include <vector>

namespace Tundra {

// A path of cubic Bezier segments, each covering an equal share of the
// curve parameter t in [0, 1], with a table from normalised arc length to t
// so that a follower moves at constant speed: each frame it advances s by
// distance / GetLength(), looks up t = LookupSampledValue(s) and asks for
// the position and direction at t.
//
// A curve is complete once built and never changes. One that could not be
// built (a refused path file or stream) is empty: position and direction
// (0, 0), lookup 0, length 0; a follower treats length 0 as standing still.
class CompositeBezierCurve : public Core::Object {
    TUN_DECLARE_UNCLONABLE_CLASS(CompositeBezierCurve);
    // Empty: the target of a stream read.
    CompositeBezierCurve() = default;
    // Reads the path file at the full path (see PathFile) and builds the
    // tables; a refused file leaves the curve empty.
    explicit CompositeBezierCurve(const Core::String& path);
    CompositeBezierCurve(const CompositeBezierCurve&) = delete;
    CompositeBezierCurve& operator=(const CompositeBezierCurve&) = delete;

    // Above this many entries the arc-length table refuses the curve: huge
    // coordinates make the subdivision's tolerance unreachable in f32.
    static constexpr std::size_t kMaxTableEntries = std::size_t{1} << 20;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    // A failed or inconsistent read leaves the curve empty.
    void Load(Core::File& file) override;

    // t and s outside [0, 1] are clamped (NaN counts as 0).
    Vector2D GetPosition(float t) const;
    Vector2D GetDirection(float t) const;
    float LookupSampledValue(float s) const;
    float GetLength() const { return m_length; }
    float GetSegmentSpan() const { return m_span; }
    bool IsEmpty() const { return m_segments.empty(); }

    // The segment and its local parameter that t evaluates.
    struct Place {
        std::uint32_t segment = 0;
        float local = 0.0f;
    };
    Place Locate(float t) const;

    const std::vector<BezierSegment>& GetSegments() const { return m_segments; }
    const std::vector<float>& GetArcLengthKeys() const { return m_keys; }
    const std::vector<float>& GetArcLengthValues() const { return m_values; }

private:
    // Samples the segments and builds the arc-length table; false (and the
    // curve emptied) for a curve of no measurable length or too large a table.
    bool Build(std::vector<BezierSegment> segments);
    bool BuildArcLengthTable();
    // Whether a read curve could have been built: points, span, length and
    // an ascending table within [0, 1].
    bool IsConsistent() const;
    void Clear();

    std::vector<BezierSegment> m_segments;
    std::vector<float> m_keys;
    std::vector<float> m_values;
    float m_span = 0.0f;
    float m_length = 0.0f;
};

}  // namespace Tundra
