#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_ShapeMethods.h"

// The tables of the unbounded carriers, rays and lines. A test against a
// shape whose class owns that test runs it with the two exchanged.
namespace Lua {
namespace {

using Math::Circle2D;
using Math::Line2D;
using Math::LineSegment2D;
using Math::Ray2D;

int RayToRay(Ray2D& self, lua_State* state) {
    const auto* other = GetShape<Ray2D>(state, 1);
    if (other == nullptr) {
        return 0;
    }
    Point2D point;
    LineSegment2D between;
    Ray2D inner;
    return PushMeeting(state, self.ClassifyToRay(*other, point, between, inner), point, &between, &inner);
}

int RayToSegment(Ray2D& self, lua_State* state) {
    const auto* segment = GetShape<LineSegment2D>(state, 1);
    if (segment == nullptr) {
        return 0;
    }
    Point2D point;
    LineSegment2D piece;
    return PushMeeting(state, segment->ClassifyToRay(self, point, piece), point, &piece);
}

int RayToLine(Ray2D& self, lua_State* state) {
    const auto* line = GetShape<Line2D>(state, 1);
    if (line == nullptr) {
        return 0;
    }
    Point2D point;
    return PushMeeting(state, line->ClassifyToRay(self, point), point);
}

int LineToLine(Line2D& self, lua_State* state) {
    const auto* other = GetShape<Line2D>(state, 1);
    if (other == nullptr) {
        return 0;
    }
    Point2D point;
    return PushMeeting(state, self.ClassifyToLine(*other, point), point);
}

int LineToRay(Line2D& self, lua_State* state) {
    const auto* ray = GetShape<Ray2D>(state, 1);
    if (ray == nullptr) {
        return 0;
    }
    Point2D point;
    return PushMeeting(state, self.ClassifyToRay(*ray, point), point);
}

int LineToSegment(Line2D& self, lua_State* state) {
    const auto* segment = GetShape<LineSegment2D>(state, 1);
    if (segment == nullptr) {
        return 0;
    }
    Point2D point;
    return PushMeeting(state, segment->ClassifyToLine(self, point), point);
}

// In degrees, to a ray or a line.
int LineAngleBetween(Line2D& self, lua_State* state) {
    if (const auto* ray = GetShape<Ray2D>(state, 1)) {
        PushFloat(state, self.AngleBetween(*ray));
        return 1;
    }
    if (const auto* line = GetShape<Line2D>(state, 1)) {
        PushFloat(state, self.AngleBetween(*line));
        return 1;
    }
    return 0;
}

const MethodTable& RayMethods() {
    using R = Ray2D;
    static const MethodTable table{
        kShapeName<R>,
        {
            BindValue<R, &GetField<R, &R::origin>>("GetOrigin"),
            BindValue<R, &SetField<R, &R::origin>>("SetOrigin"),
            BindValue<R, &GetField<R, &R::direction>>("GetDirection"),
            BindValue<R, &SetField<R, &R::direction>>("SetDirection"),
            BindValue<R, &RayToRay>("ClassifyToRay"),
            BindValue<R, &Compare<R, R, &R::Perpendicular>>("Perpendicular"),
            BindValue<R, &Compare<R, R, &R::Parallel>>("Parallel"),
            BindValue<R, &Compare<R, R, &R::AngleBetween>>("AngleBetween"),
            BindValue<R, &ClassifyWithPoints<R, Circle2D, &R::ClassifyToCircle>>("ClassifyToCircle"),
            BindValue<R, &Tangent<R>>("Tangent"),
            BindValue<R, &RayToSegment>("ClassifyToLineSegment"),
            BindValue<R, &RayToLine>("ClassifyToLine"),
        },
        true};
    return table;
}

const MethodTable& LineMethods() {
    using L = Line2D;
    static const MethodTable table{
        kShapeName<L>,
        {
            BindValue<L, &GetField<L, &L::point>>("GetPoint"),
            BindValue<L, &SetField<L, &L::point>>("SetPoint"),
            BindValue<L, &GetField<L, &L::direction>>("GetDirection"),
            BindValue<L, &SetField<L, &L::direction>>("SetDirection"),
            BindValue<L, &LineToLine>("ClassifyToLine"),
            BindValue<L, &Compare<L, L, &L::Perpendicular>>("Perpendicular"),
            BindValue<L, &Compare<L, L, &L::Parallel>>("Parallel"),
            BindValue<L, &LineAngleBetween>("AngleBetween"),
            BindValue<L, &ClassifyWithPoints<L, Circle2D, &L::ClassifyToCircle>>("ClassifyToCircle"),
            BindValue<L, &Tangent<L>>("Tangent"),
            BindValue<L, &LineToRay>("ClassifyToRay"),
            BindValue<L, &LineToSegment>("ClassifyToLineSegment"),
        },
        true};
    return table;
}

const TableRegistration s_rayRegistration{&RayMethods};
const TableRegistration s_lineRegistration{&LineMethods};

}  // namespace
}  // namespace Lua
