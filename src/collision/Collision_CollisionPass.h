#pragma once

#include "collision/Collision_CollisionLayer.h"

#include <cstdint>
#include <span>
#include <vector>

namespace Collision2D {

// One collision pass over a layer. Objects that changed or test while idle
// (the active ones) enter the grid in ascending entry order, each meeting
// those already there; then every other object looks up the active ones.
// So each pair is visited once, the active (or lower active) object tests
// it, and both get their records. The scratch lists keep their capacity
// from pass to pass.
class CollisionPass {
public:
    void Run(CollisionLayer& layer);

    // An object's world shapes with their motion since the old pose.
    struct ShapeSet {
        std::span<const DynamicCollisionLineSegment> segments;
        std::span<const DynamicCollisionCircle> circles;
        float halfThickness;
        const std::vector<Vector2D>* segmentMotion;
        const std::vector<Vector2D>* circleMotion;
    };

private:
    using CellList = const std::vector<std::uint16_t>& (BroadPhaseGrid::*)(std::uint32_t) const;

    static ShapeSet ShapesOf(const DynamicObject& object);
    void TestPair(DynamicObject& a, DynamicObject& b);
    void TestShapes(DynamicObject& a, DynamicObject& b);
    void TestStatics(CollisionLayer& layer, DynamicObject& a);
    // The cell list is a template argument, so that the lookup is inlined.
    template <CellList kCellList, class Visit>
    void VisitCells(const BroadPhaseGrid& grid, const BroadPhaseGrid::CellRange& range,
                    std::vector<std::uint32_t>& visited, Visit visit);

    std::uint32_t m_stamp = 0;
    std::vector<std::uint32_t> m_dynamicVisited;
    std::vector<std::uint32_t> m_circleVisited;
    std::vector<std::uint32_t> m_segmentVisited;
    // Boxes of the objects in the grid, packed by entry.
    std::vector<Box> m_boxes;
};

}  // namespace Collision2D
