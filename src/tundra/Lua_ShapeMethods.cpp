#include "tundra/Lua_ShapeMethods.h"

#include "tundra/Lua_MethodTable.h"

namespace Lua {

int PushMeeting(lua_State* state, Math::ClassifyResult code, const Point2D& point, const Math::LineSegment2D* piece,
                const Math::Ray2D* inner) {
    PushInt(state, code);
    if (code == Math::ClassifyIntersecting) {
        PushPoint2D(state, point);
        return 2;
    }
    if ((code == Math::ClassifyCoincident || code == Math::ClassifyOppositeOverlap) && piece != nullptr) {
        PushShape(state, *piece);
        return 2;
    }
    if (code == Math::ClassifyContainsRay && inner != nullptr) {
        PushShape(state, *inner);
        return 2;
    }
    return 1;
}

int PushCirclePoints(lua_State* state, Math::ClassifyResult code, const Point2D& first, const Point2D& second) {
    PushInt(state, code);
    switch (code) {
        case Math::ClassifyTangent:
        case Math::ClassifyOnePoint:
        case Math::ClassifyTangentInside:
        case Math::ClassifyTangentOutside:
            PushPoint2D(state, first);
            return 2;
        // A line through a circle answers 0 with both points.
        case Math::ClassifyIntersecting:
        case Math::ClassifyTwoPoints:
            PushPoint2D(state, first);
            PushPoint2D(state, second);
            return 3;
        default:
            return 1;
    }
}

namespace {

using Math::Circle2D;
using Math::Line2D;
using Math::LineSegment2D;
using Math::Ray2D;

int SegmentToSegment(LineSegment2D& self, lua_State* state) {
    const auto* other = GetShape<LineSegment2D>(state, 1);
    if (other == nullptr) {
        return 0;
    }
    Point2D point;
    LineSegment2D piece;
    return PushMeeting(state, self.ClassifyToLineSegment(*other, point, piece), point, &piece);
}

int SegmentToRay(LineSegment2D& self, lua_State* state) {
    const auto* ray = GetShape<Ray2D>(state, 1);
    if (ray == nullptr) {
        return 0;
    }
    Point2D point;
    LineSegment2D piece;
    return PushMeeting(state, self.ClassifyToRay(*ray, point, piece), point, &piece);
}

int SegmentToLine(LineSegment2D& self, lua_State* state) {
    const auto* line = GetShape<Line2D>(state, 1);
    if (line == nullptr) {
        return 0;
    }
    Point2D point;
    return PushMeeting(state, self.ClassifyToLine(*line, point), point);
}

const MethodTable& LineSegmentMethods() {
    using S = LineSegment2D;
    static const MethodTable table{
        kShapeName<S>,
        {
            BindValue<S, &GetField<S, &S::pointA>>("GetPointA"),
            BindValue<S, &SetField<S, &S::pointA>>("SetPointA"),
            BindValue<S, &GetField<S, &S::pointB>>("GetPointB"),
            BindValue<S, &SetField<S, &S::pointB>>("SetPointB"),
            BindValue<S, &SegmentToSegment>("ClassifyToLineSegment"),
            BindValue<S, &Compare<S, S, &S::Perpendicular>>("Perpendicular"),
            BindValue<S, &Compare<S, S, &S::Parallel>>("Parallel"),
            BindValue<S, &Compare<S, S, &S::Alligned>>("Alligned"),
            BindValue<S, &Compare<S, S, &S::AngleBetween>>("AngleBetween"),
            BindValue<S, &ClassifyWithPoints<S, Circle2D, &S::ClassifyToCircle>>("ClassifyToCircle"),
            BindValue<S, &Tangent<S>>("Tangent"),
            BindValue<S, &SegmentToRay>("ClassifyToRay"),
            BindValue<S, &SegmentToLine>("ClassifyToLine"),
        },
        true};
    return table;
}

const MethodTable& CircleMethods() {
    using C = Circle2D;
    static const MethodTable table{
        kShapeName<C>,
        {
            BindValue<C, &GetField<C, &C::center>>("GetCenter"),
            BindValue<C, &SetField<C, &C::center>>("SetCenter"),
            BindValue<C, &GetField<C, &C::radius>>("GetRadius"),
            BindValue<C, &SetField<C, &C::radius>>("SetRadius"),
            BindValue<C, &ClassifyWithPoints<C, C, &C::ClassifyToCircle>>("ClassifyToCircle"),
            BindValue<C, &ClassifyWithPoints<C, LineSegment2D, &C::ClassifyToLineSegment>>("ClassifyToLineSegment"),
        },
        true};
    return table;
}

const TableRegistration s_lineSegmentRegistration{&LineSegmentMethods};
const TableRegistration s_circleRegistration{&CircleMethods};

}  // namespace
}  // namespace Lua
