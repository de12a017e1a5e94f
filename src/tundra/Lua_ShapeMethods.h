#pragma once

#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Ray2D.h"
#include "tundra/Lua_Accessors.h"

#include <optional>
#include <type_traits>

// Building blocks of the shape tables. Shapes travel as value userdata
// under their script names; a shape argument of another kind (or none)
// counts as missing, so the binding does nothing and returns 0.
namespace Lua {

template <class Shape>
inline constexpr const char* kShapeName = nullptr;
template <>
inline constexpr const char* kShapeName<Math::LineSegment2D> = "LineSegment2D";
template <>
inline constexpr const char* kShapeName<Math::Circle2D> = "Circle2D";
template <>
inline constexpr const char* kShapeName<Math::Ray2D> = "Ray2D";
template <>
inline constexpr const char* kShapeName<Math::Line2D> = "Line2D";

template <class Shape>
const Shape* GetShape(lua_State* state, int index) {
    return GetValue<Shape>(state, index, kShapeName<Shape>);
}

template <class Shape>
void PushShape(lua_State* state, const Shape& shape) {
    PushValue(state, shape, kShapeName<Shape>);
}

// What a test of two carriers wrote: the crossing point, and, for tests
// that have them, the common piece or the piece between two origins and the
// inner ray.
struct Meeting {
    Point2D point;
    std::optional<Math::LineSegment2D> piece;
    std::optional<Math::Ray2D> inner;
};

// The code, then what the test wrote for it: the point (0), the piece (19,
// 22) or the inner ray (23).
int PushMeeting(lua_State* state, Math::ClassifyResult code, const Meeting& meeting);

template <class Shape, class Other, Math::ClassifyResult (*Classify)(const Shape&, const Other&, Meeting&)>
int Meet(Shape& self, lua_State* state) {
    const Other* other = GetShape<Other>(state, 1);
    if (other == nullptr) {
        return 0;
    }
    Meeting meeting;
    const Math::ClassifyResult code = Classify(self, *other, meeting);
    return PushMeeting(state, code, meeting);
}

// The code of a test against a circle, then the points it wrote.
int PushCirclePoints(lua_State* state, Math::ClassifyResult code, const Point2D& first, const Point2D& second);

template <class Field>
Field GetFieldArgument(lua_State* state, int index) {
    if constexpr (std::is_same_v<Field, Point2D>) {
        return GetPoint2D(state, index);
    } else if constexpr (std::is_same_v<Field, Vector2D>) {
        return GetVector2D(state, index);
    } else {
        return GetFloat(state, index);
    }
}

template <class Shape, auto Field>
int GetField(Shape& self, lua_State* state) {
    PushResult(state, self.*Field);
    return 1;
}

template <class Shape, auto Field>
int SetField(Shape& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    self.*Field = GetFieldArgument<std::remove_cvref_t<decltype(self.*Field)>>(state, 1);
    return 0;
}

// A test against another shape answering a boolean or an angle.
template <class Shape, class Other, auto Test>
int Compare(Shape& self, lua_State* state) {
    const Other* other = GetShape<Other>(state, 1);
    if (other == nullptr) {
        return 0;
    }
    PushResult(state, (self.*Test)(*other));
    return 1;
}

// Whether the shape touches the circle; the touching point follows true.
template <class Shape>
int Tangent(Shape& self, lua_State* state) {
    const auto* circle = GetShape<Math::Circle2D>(state, 1);
    if (circle == nullptr) {
        return 0;
    }
    Point2D point;
    const bool touching = self.Tangent(*circle, point);
    PushBool(state, touching);
    if (!touching) {
        return 1;
    }
    PushPoint2D(state, point);
    return 2;
}

template <class Shape, class Other, auto Test>
int ClassifyWithPoints(Shape& self, lua_State* state) {
    const Other* other = GetShape<Other>(state, 1);
    if (other == nullptr) {
        return 0;
    }
    Point2D first;
    Point2D second;
    return PushCirclePoints(state, (self.*Test)(*other, first, second), first, second);
}

}  // namespace Lua
