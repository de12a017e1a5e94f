#pragma once

#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Grid.h"
#include "collision/Collision_Shapes.h"

#include <cstdint>
#include <vector>

namespace Core {
class File;
}

namespace Collision2D {

// One plane of collision: static circles and segments in slot arrays whose
// slot 0 stays empty, dynamic objects in a one-based entry array, and the
// broad-phase grid. It owns every object it holds.
class CollisionLayer {
public:
    explicit CollisionLayer(std::uint8_t index);
    CollisionLayer(const CollisionLayer&) = delete;
    CollisionLayer& operator=(const CollisionLayer&) = delete;
    ~CollisionLayer();

    std::uint8_t GetIndex() const { return m_index; }
    // Used slots, counting the empty slot 0: slots run from 1 below this.
    std::uint32_t GetStaticCircleSlotCount() const { return static_cast<std::uint32_t>(m_circles.size()); }
    std::uint32_t GetStaticLineSegmentSlotCount() const { return static_cast<std::uint32_t>(m_segments.size()); }
    // Null for slot 0, a removed shape or a slot past the count.
    const StaticCollisionCircle* GetStaticCircle(std::uint32_t slot) const;
    const StaticCollisionLineSegment* GetStaticLineSegment(std::uint32_t slot) const;
    // Entries run from 1 below this count.
    std::uint32_t GetDynamicEntryCount() const { return static_cast<std::uint32_t>(m_dynamic.size()); }
    // Null for entry 0, a free entry or one past the count.
    DynamicObject* GetDynamicObject(std::uint32_t entry) const;

private:
    friend class CollisionEngine;
    friend class CollisionPass;

    enum class EntryState : std::uint8_t { Free = 0, Waiting = 1, Used = 2 };

    // Each returns the new id, or 0 when the range is full (nothing taken).
    std::uint32_t AddStaticCircle(StaticCollisionCircle* circle);
    std::uint32_t AddStaticLineSegment(StaticCollisionLineSegment* segment);
    std::uint32_t AddDynamic(DynamicObject* object);
    CollisionObject* Find(std::uint16_t number) const;
    // Null unless the number names a dynamic entry that holds an object.
    DynamicObject* FindDynamic(std::uint16_t number) const {
        const std::size_t entry = number - std::size_t{kDynamicObjectBase};
        return number > kDynamicObjectBase && entry < m_dynamic.size() ? m_dynamic[entry] : nullptr;
    }
    void Remove(std::uint16_t number);
    void ClearStatic();
    void SetGrid(const Vector2D& origin, std::int32_t width, std::int32_t height, std::int32_t cellSize);
    // Entries freed since the last pass become free, lowest taken first.
    void ReleaseWaitingEntries();
    void InsertStaticsIntoGrid();

    void Save(Core::File& file) const;
    void Load(Core::File& file);

    std::uint8_t m_index;
    std::vector<StaticCollisionCircle*> m_circles{nullptr};
    std::vector<StaticCollisionLineSegment*> m_segments{nullptr};
    std::vector<DynamicObject*> m_dynamic{nullptr};
    std::vector<EntryState> m_entryStates{EntryState::Used};
    std::uint32_t m_waitingCount = 0;
    // No entry below this one is free.
    std::size_t m_firstFreeHint = 1;

    Vector2D m_gridOrigin;
    std::int32_t m_gridWidth = 0;
    std::int32_t m_gridHeight = 0;
    std::int32_t m_gridCellSize = 0;
    BroadPhaseGrid m_grid;
};

Box BoxOf(const Math::Circle2D& circle);
Box BoxOf(const Math::LineSegment2D& segment);

}  // namespace Collision2D
