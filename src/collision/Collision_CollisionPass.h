#pragma once

#include "collision/Collision_CollisionLayer.h"

#include <cstdint>
#include <span>
#include <vector>

namespace Collision2D {

// One collision pass over a layer. Objects that changed or test while idle
// look up their grid cells in ascending entry order; each pair is tested
// once and both objects get their records. The scratch lists keep their
// capacity from pass to pass.
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
    static ShapeSet ShapesOf(const DynamicObject& object);
    void InsertIntoGrid(CollisionLayer& layer);
    void TestDynamicPartners(CollisionLayer& layer, DynamicObject& a, std::uint16_t entry);
    void TestPair(DynamicObject& a, DynamicObject& b);
    void TestShapes(DynamicObject& a, DynamicObject& b);
    void TestStatics(CollisionLayer& layer, DynamicObject& a);
    template <class CellList, class Visit>
    void VisitCells(const BroadPhaseGrid& grid, const Box& box, std::vector<std::uint32_t>& visited, CellList cellList,
                    Visit visit);

    std::uint32_t m_stamp = 0;
    std::vector<std::uint32_t> m_dynamicVisited;
    std::vector<std::uint32_t> m_circleVisited;
    std::vector<std::uint32_t> m_segmentVisited;
    std::vector<Box> m_boxes;
    std::vector<std::uint8_t> m_activeEntries;
};

}  // namespace Collision2D
