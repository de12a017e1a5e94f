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

Math::ClassifyResult RayToRay(const Ray2D& self, const Ray2D& other, Meeting& meeting) {
    return self.ClassifyToRay(other, meeting.point, meeting.piece.emplace(), meeting.inner.emplace());
}

Math::ClassifyResult RayToSegment(const Ray2D& self, const LineSegment2D& segment, Meeting& meeting) {
    return segment.ClassifyToRay(self, meeting.point, meeting.piece.emplace());
}

Math::ClassifyResult RayToLine(const Ray2D& self, const Line2D& line, Meeting& meeting) {
    return line.ClassifyToRay(self, meeting.point);
}

Math::ClassifyResult LineToLine(const Line2D& self, const Line2D& other, Meeting& meeting) {
    return self.ClassifyToLine(other, meeting.point);
}

Math::ClassifyResult LineToRay(const Line2D& self, const Ray2D& ray, Meeting& meeting) {
    return self.ClassifyToRay(ray, meeting.point);
}

Math::ClassifyResult LineToSegment(const Line2D& self, const LineSegment2D& segment, Meeting& meeting) {
    return segment.ClassifyToLine(self, meeting.point);
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
            BindValue<R, &Meet<R, R, &RayToRay>>("ClassifyToRay"),
            BindValue<R, &Compare<R, R, &R::Perpendicular>>("Perpendicular"),
            BindValue<R, &Compare<R, R, &R::Parallel>>("Parallel"),
            BindValue<R, &Compare<R, R, &R::AngleBetween>>("AngleBetween"),
            BindValue<R, &ClassifyWithPoints<R, Circle2D, &R::ClassifyToCircle>>("ClassifyToCircle"),
            BindValue<R, &Tangent<R>>("Tangent"),
            BindValue<R, &Meet<R, LineSegment2D, &RayToSegment>>("ClassifyToLineSegment"),
            BindValue<R, &Meet<R, Line2D, &RayToLine>>("ClassifyToLine"),
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
            BindValue<L, &Meet<L, L, &LineToLine>>("ClassifyToLine"),
            BindValue<L, &Compare<L, L, &L::Perpendicular>>("Perpendicular"),
            BindValue<L, &Compare<L, L, &L::Parallel>>("Parallel"),
            BindValue<L, &LineAngleBetween>("AngleBetween"),
            BindValue<L, &ClassifyWithPoints<L, Circle2D, &L::ClassifyToCircle>>("ClassifyToCircle"),
            BindValue<L, &Tangent<L>>("Tangent"),
            BindValue<L, &Meet<L, Ray2D, &LineToRay>>("ClassifyToRay"),
            BindValue<L, &Meet<L, LineSegment2D, &LineToSegment>>("ClassifyToLineSegment"),
        },
        true};
    return table;
}

const TableRegistration s_rayRegistration{&RayMethods};
const TableRegistration s_lineRegistration{&LineMethods};

}  // namespace
}  // namespace Lua
