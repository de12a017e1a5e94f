#include "collision/Collision_CollisionPass.h"

#include <algorithm>

namespace Collision2D {

namespace {

bool RectanglesOverlap(const TunRect& a, float growA, const TunRect& b, float growB) {
    const float grow = growA + growB;
    return a.left - grow < b.right && b.left - grow < a.right && a.bottom - grow < b.top && b.bottom - grow < a.top;
}

Box Grown(const Box& box, float by) { return {box.minX - by, box.minY - by, box.maxX + by, box.maxY + by}; }

bool IsMeasurable(const StaticCollisionLineSegment& s) { return BoxOf(s).IsMeasurable(); }
bool IsMeasurable(const StaticCollisionCircle& c) { return BoxOf(c).IsMeasurable() && IsMeasurableRadius(c.radius); }

Capsule Shifted(const Capsule& c, const Vector2D& by) { return {c.a + by, c.b + by, c.radius}; }

// Overlap at the current poses; failing that, shapes that passed through
// each other on their way here touch at the meeting time. Both are put back
// to where they were then, so the record lies where they met whichever of
// the two tests the pair; it has no depth, as nothing is to be pushed back.
bool Meet(const Capsule& own, const Vector2D& ownMotion, const Capsule& other, const Vector2D& otherMotion,
          ShapeContact& contact) {
    if (TestShapes(own, other, contact)) {
        return true;
    }
    const Vector2D motion = ownMotion - otherMotion;
    float s = 1.0f;
    if ((motion.x == 0.0f && motion.y == 0.0f) || !SweepMeetingTime(own, other, motion, s) || !(s < 1.0f)) {
        return false;
    }
    const float back = -(1.0f - s);
    ContactGeometry(Shifted(own, ownMotion * back), Shifted(other, otherMotion * back), contact);
    contact.depth = 0.0f;
    return true;
}

// The mean of the contact positions, summed in double so that positions
// near the float's limit do not overflow.
Vector2D MeanContactPosition(const DGEO_C& record) {
    double x = 0.0;
    double y = 0.0;
    const auto add = [&](const std::vector<COLLISION_C>& list, std::uint32_t count) {
        for (std::uint32_t i = 0; i < count; ++i) {
            x += list[i].contactPosition.x;
            y += list[i].contactPosition.y;
        }
    };
    add(record.lineSegments, record.currentLineSegmentsNumber);
    add(record.circles, record.currentCirclesNumber);
    const double total = record.currentLineSegmentsNumber + record.currentCirclesNumber;
    return {static_cast<float>(x / total), static_cast<float>(y / total)};
}

void Fill(COLLISION_C& result, const ShapeContact& contact, ShapeKind ownKind, std::uint32_t ownIndex,
          std::uint32_t ownUserId, std::uint32_t otherIndex, std::uint32_t otherUserId) {
    result = COLLISION_C{};
    result.contactPosition = contact.position;
    result.penetrationDistance = contact.depth;
    result.numberOfIntersectedPoints = contact.pointCount;
    for (std::uint32_t k = 0; k < contact.pointCount; ++k) {
        result.contactPoint[k] = contact.points[k];
        result.normal[k] = contact.normal;
    }
    result.ownKind = ownKind;
    result.ownIndex = ownIndex;
    result.ownUserId = ownUserId;
    result.otherIndex = otherIndex;
    result.otherUserId = otherUserId;
}

// The same meeting seen from the other object.
void FillMirrored(COLLISION_C& result, const COLLISION_C& seen, ShapeKind ownKind) {
    result = seen;
    result.ownKind = ownKind;
    result.ownIndex = seen.otherIndex;
    result.ownUserId = seen.otherUserId;
    result.otherIndex = seen.ownIndex;
    result.otherUserId = seen.ownUserId;
    for (Vector2D& n : result.normal) {
        n = -n;
    }
}

// Calls test(kind, index, capsule, motion, userId) for each shape, segments first.
template <class Test>
void ForEachShape(const CollisionPass::ShapeSet& set, const Test& test) {
    for (std::uint32_t i = 0; i < set.segments.size(); ++i) {
        const auto& s = set.segments[i];
        test(ShapeKind::LineSegment, i, Capsule{s.pointA, s.pointB, set.halfThickness}, (*set.segmentMotion)[i],
             s.GetUserId());
    }
    for (std::uint32_t i = 0; i < set.circles.size(); ++i) {
        const auto& c = set.circles[i];
        test(ShapeKind::Circle, i, Capsule{c.center, c.center, c.radius}, (*set.circleMotion)[i], c.GetUserId());
    }
}

}  // namespace

CollisionPass::ShapeSet CollisionPass::ShapesOf(const DynamicObject& object) {
    return {object.GetCurrentLineSegments(), object.GetCurrentCircles(), object.m_thickness * 0.5f,
            &object.m_segmentMotion, &object.m_circleMotion};
}

void CollisionPass::Run(CollisionLayer& layer) {
    for (DynamicObject* object : layer.m_dynamic) {
        if (object != nullptr) {
            object->PrepareForPass();
        }
    }
    BroadPhaseGrid& grid = layer.m_grid;
    grid.ClearDynamic();
    m_boxes.resize(layer.m_dynamic.size());
    m_dynamicVisited.resize(layer.m_dynamic.size());
    m_circleVisited.resize(layer.m_circles.size());
    m_segmentVisited.resize(layer.m_segments.size());
    const auto objectAt = [&](std::size_t entry) -> DynamicObject* {
        DynamicObject* object = layer.m_dynamic[entry];
        return object != nullptr && object->m_inGrid ? object : nullptr;
    };
    // Active objects meet each other: each looks up those placed before it
    // (the lower entry tests the pair), then takes its place in the grid.
    for (std::size_t entry = 1; entry < layer.m_dynamic.size(); ++entry) {
        DynamicObject* a = objectAt(entry);
        if (a == nullptr || !a->m_active) {
            continue;
        }
        const BroadPhaseGrid::CellRange range = grid.RangeOf(a->m_box);
        VisitCells<&BroadPhaseGrid::DynamicAt>(grid, range, m_dynamicVisited, [&](std::uint16_t other) {
            if (a->m_box.Overlaps(m_boxes[other])) {
                TestPair(*layer.m_dynamic[other], *a);
            }
        });
        m_boxes[entry] = a->m_box;
        grid.InsertDynamic(range, static_cast<std::uint16_t>(entry));
        TestStatics(layer, *a);
    }
    // Idle objects meet the active ones, which test the pair.
    for (std::size_t entry = 1; entry < layer.m_dynamic.size(); ++entry) {
        DynamicObject* idle = objectAt(entry);
        if (idle == nullptr || idle->m_active) {
            continue;
        }
        VisitCells<&BroadPhaseGrid::DynamicAt>(grid, grid.RangeOf(idle->m_box), m_dynamicVisited,
                                               [&](std::uint16_t other) {
                                                   if (idle->m_box.Overlaps(m_boxes[other])) {
                                                       TestPair(*layer.m_dynamic[other], *idle);
                                                   }
                                               });
    }
    for (DynamicObject* object : layer.m_dynamic) {
        if (object != nullptr) {
            object->CommitPass();
        }
    }
}

// Visits, once each, what the cells of range hold. The order is fixed by
// the grid, so it is the same in every run; the records are sorted after
// the pass, so it never shows.
template <CollisionPass::CellList kCellList, class Visit>
void CollisionPass::VisitCells(const BroadPhaseGrid& grid, const BroadPhaseGrid::CellRange& range,
                               std::vector<std::uint32_t>& visited, Visit visit) {
    if (++m_stamp == 0) {
        std::fill(m_dynamicVisited.begin(), m_dynamicVisited.end(), 0);
        std::fill(m_circleVisited.begin(), m_circleVisited.end(), 0);
        std::fill(m_segmentVisited.begin(), m_segmentVisited.end(), 0);
        m_stamp = 1;
    }
    for (std::uint32_t row = range.firstRow; row <= range.lastRow; ++row) {
        for (std::uint32_t column = range.firstColumn; column <= range.lastColumn; ++column) {
            for (const std::uint16_t item : (grid.*kCellList)(grid.CellIndex(column, row))) {
                if (visited[item] != m_stamp) {
                    visited[item] = m_stamp;
                    visit(item);
                }
            }
        }
    }
}

void CollisionPass::TestPair(DynamicObject& a, DynamicObject& b) {
    if (!a.CanCollideWith(b.m_group) || !b.CanCollideWith(a.m_group)) {
        return;
    }
    if (RectanglesOverlap(a.GetCurrentBoundingRectangle(), a.m_thickness * 0.5f, b.GetCurrentBoundingRectangle(),
                          b.m_thickness * 0.5f)) {
        a.m_rectangleRecords.Append().handle = b.GetId();
        b.m_rectangleRecords.Append().handle = a.GetId();
    }
    if (a.m_type == 1 && b.m_type == 1) {
        TestShapes(a, b);
    }
}

void CollisionPass::TestShapes(DynamicObject& a, DynamicObject& b) {
    DGEO_C& record = a.m_shapeRecords.Append();
    record.handle = b.GetId();
    record.currentLineSegmentsNumber = 0;
    record.currentCirclesNumber = 0;
    // Taken once: nothing moves during the pass.
    const ShapeSet ownShapes = ShapesOf(a);
    const ShapeSet otherShapes = ShapesOf(b);
    ForEachShape(ownShapes, [&](ShapeKind ownKind, std::uint32_t i, const Capsule& own,
                                const Vector2D& ownMotion, std::uint32_t ownUserId) {
        ForEachShape(otherShapes, [&](ShapeKind otherKind, std::uint32_t j, const Capsule& other,
                                      const Vector2D& otherMotion, std::uint32_t otherUserId) {
            ShapeContact contact;
            if (!Meet(own, ownMotion, other, otherMotion, contact)) {
                return;
            }
            COLLISION_C& result = otherKind == ShapeKind::LineSegment
                                      ? AppendShapeResult(record.lineSegments, record.currentLineSegmentsNumber)
                                      : AppendShapeResult(record.circles, record.currentCirclesNumber);
            Fill(result, contact, ownKind, i, ownUserId, j, otherUserId);
        });
    });
    const std::uint32_t total = record.currentLineSegmentsNumber + record.currentCirclesNumber;
    if (total == 0) {
        a.m_shapeRecords.RemoveLast();
        return;
    }
    record.contactPosition = MeanContactPosition(record);

    DGEO_C& mirror = b.m_shapeRecords.Append();
    mirror.handle = a.GetId();
    mirror.contactPosition = record.contactPosition;
    mirror.currentLineSegmentsNumber = 0;
    mirror.currentCirclesNumber = 0;
    const auto mirrorList = [&](const std::vector<COLLISION_C>& list, std::uint32_t count, ShapeKind ownKind) {
        for (std::uint32_t i = 0; i < count; ++i) {
            const COLLISION_C& seen = list[i];
            COLLISION_C& result = seen.ownKind == ShapeKind::LineSegment
                                      ? AppendShapeResult(mirror.lineSegments, mirror.currentLineSegmentsNumber)
                                      : AppendShapeResult(mirror.circles, mirror.currentCirclesNumber);
            FillMirrored(result, seen, ownKind);
        }
    };
    mirrorList(record.lineSegments, record.currentLineSegmentsNumber, ShapeKind::LineSegment);
    mirrorList(record.circles, record.currentCirclesNumber, ShapeKind::Circle);
    SortShapeResults(mirror.lineSegments, mirror.currentLineSegmentsNumber);
    SortShapeResults(mirror.circles, mirror.currentCirclesNumber);
}

// A static segment is as thick as the object testing it.
void CollisionPass::TestStatics(CollisionLayer& layer, DynamicObject& a) {
    if (a.m_type != 1) {
        return;
    }
    const float half = a.m_thickness * 0.5f;
    const Box reach = Grown(a.m_box, half);
    const BroadPhaseGrid& grid = layer.m_grid;
    const ShapeSet ownShapes = ShapesOf(a);
    const auto testStatic = [&](auto& records, const auto& shape, std::uint32_t slot, const Capsule& other) {
        ForEachShape(ownShapes, [&](ShapeKind ownKind, std::uint32_t i, const Capsule& own,
                                    const Vector2D& ownMotion, std::uint32_t ownUserId) {
            ShapeContact contact;
            if (Meet(own, ownMotion, other, Vector2D(), contact)) {
                auto& record = records.Append();
                Fill(record, contact, ownKind, i, ownUserId, slot, shape.GetUserId());
                record.handle = shape.GetId();
            }
        });
    };
    const BroadPhaseGrid::CellRange range = grid.RangeOf(reach);
    VisitCells<&BroadPhaseGrid::SegmentsAt>(grid, range, m_segmentVisited, [&](std::uint16_t slot) {
        const StaticCollisionLineSegment* segment = layer.m_segments[slot];
        if (segment != nullptr && IsMeasurable(*segment) && a.CanCollideWith(segment->GetZCollision()) &&
            reach.Overlaps(BoxOf(*segment))) {
            testStatic(a.m_segmentRecords, *segment, slot, Capsule{segment->pointA, segment->pointB, half});
        }
    });
    VisitCells<&BroadPhaseGrid::CirclesAt>(grid, range, m_circleVisited, [&](std::uint16_t slot) {
        const StaticCollisionCircle* circle = layer.m_circles[slot];
        if (circle != nullptr && IsMeasurable(*circle) && a.CanCollideWith(circle->GetZCollision()) &&
            reach.Overlaps(BoxOf(*circle))) {
            testStatic(a.m_circleRecords, *circle, slot, Capsule{circle->center, circle->center, circle->radius});
        }
    });
}

}  // namespace Collision2D
