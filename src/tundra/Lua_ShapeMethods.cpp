#include "tundra/Lua_ShapeMethods.h"

#include "tundra/Lua_MethodTable.h"

namespace Lua {

int PushMeeting(lua_State* state, Math::ClassifyResult code, const Meeting& meeting) {
    PushInt(state, code);
    if (code == Math::ClassifyIntersecting) {
        PushPoint2D(state, meeting.point);
        return 2;
    }
    if ((code == Math::ClassifyCoincident || code == Math::ClassifyOppositeOverlap) && meeting.piece) {
        PushShape(state, *meeting.piece);
        return 2;
    }
    if (code == Math::ClassifyContainsRay && meeting.inner) {
        PushShape(state, *meeting.inner);
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

Math::ClassifyResult SegmentToSegment(const LineSegment2D& self, const LineSegment2D& other, Meeting& meeting) {
    return self.ClassifyToLineSegment(other, meeting.point, meeting.piece.emplace());
}

Math::ClassifyResult SegmentToRay(const LineSegment2D& self, const Ray2D& ray, Meeting& meeting) {
    return self.ClassifyToRay(ray, meeting.point, meeting.piece.emplace());
}

Math::ClassifyResult SegmentToLine(const LineSegment2D& self, const Line2D& line, Meeting& meeting) {
    return self.ClassifyToLine(line, meeting.point);
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
            BindValue<S, &Meet<S, S, &SegmentToSegment>>("ClassifyToLineSegment"),
            BindValue<S, &Compare<S, S, &S::Perpendicular>>("Perpendicular"),
            BindValue<S, &Compare<S, S, &S::Parallel>>("Parallel"),
            BindValue<S, &Compare<S, S, &S::Alligned>>("Alligned"),
            BindValue<S, &Compare<S, S, &S::AngleBetween>>("AngleBetween"),
            BindValue<S, &ClassifyWithPoints<S, Circle2D, &S::ClassifyToCircle>>("ClassifyToCircle"),
            BindValue<S, &Tangent<S>>("Tangent"),
            BindValue<S, &Meet<S, Ray2D, &SegmentToRay>>("ClassifyToRay"),
            BindValue<S, &Meet<S, Line2D, &SegmentToLine>>("ClassifyToLine"),
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
