#include "collision/Collision_CollisionLayer.h"

#include <algorithm>

namespace Collision2D {

Box BoxOf(const Math::Circle2D& c) {
    return {c.center.x - c.radius, c.center.y - c.radius, c.center.x + c.radius, c.center.y + c.radius};
}

Box BoxOf(const Math::LineSegment2D& s) {
    return {std::min(s.pointA.x, s.pointB.x), std::min(s.pointA.y, s.pointB.y), std::max(s.pointA.x, s.pointB.x),
            std::max(s.pointA.y, s.pointB.y)};
}

CollisionLayer::CollisionLayer(std::uint8_t index) : m_index(index) {}

CollisionLayer::~CollisionLayer() {
    ClearStatic();
    for (DynamicObject* object : m_dynamic) {
        delete object;
    }
}

namespace {

template <class T>
T* SlotOf(const std::vector<T*>& slots, std::size_t slot) {
    return slot < slots.size() ? slots[slot] : nullptr;
}

}  // namespace

const StaticCollisionCircle* CollisionLayer::GetStaticCircle(std::uint32_t slot) const {
    return SlotOf(m_circles, slot);
}

const StaticCollisionLineSegment* CollisionLayer::GetStaticLineSegment(std::uint32_t slot) const {
    return SlotOf(m_segments, slot);
}

DynamicObject* CollisionLayer::GetDynamicObject(std::uint32_t entry) const { return SlotOf(m_dynamic, entry); }

std::uint32_t CollisionLayer::AddStaticCircle(StaticCollisionCircle* circle) {
    const auto slot = static_cast<std::uint16_t>(m_circles.size());
    if (slot > kMaxStaticCircles) {
        return 0;
    }
    m_circles.push_back(circle);
    circle->m_id = EncodeCollisionId(m_index, circle->GetZCollision(), kStaticCircleBase + slot);
    m_grid.InsertStaticCircle(BoxOf(*circle), slot);
    return circle->m_id;
}

std::uint32_t CollisionLayer::AddStaticLineSegment(StaticCollisionLineSegment* segment) {
    const auto slot = static_cast<std::uint16_t>(m_segments.size());
    if (slot > kMaxStaticLineSegments) {
        return 0;
    }
    m_segments.push_back(segment);
    segment->m_id = EncodeCollisionId(m_index, segment->GetZCollision(), kStaticLineSegmentBase + slot);
    m_grid.InsertStaticSegment(BoxOf(*segment), slot);
    return segment->m_id;
}

// The lowest free entry, else a new one at the end.
std::uint32_t CollisionLayer::AddDynamic(DynamicObject* object) {
    const auto free = std::find(m_entryStates.begin() + m_firstFreeHint, m_entryStates.end(), EntryState::Free);
    const auto entry = static_cast<std::size_t>(free - m_entryStates.begin());
    if (free == m_entryStates.end()) {
        if (entry > kMaxDynamicObjects) {
            return 0;
        }
        m_dynamic.push_back(nullptr);
        m_entryStates.push_back(EntryState::Free);
    }
    m_dynamic[entry] = object;
    m_entryStates[entry] = EntryState::Used;
    m_firstFreeHint = entry + 1;
    object->m_id =
        EncodeCollisionId(m_index, object->GetZCollision(), static_cast<std::uint16_t>(kDynamicObjectBase + entry));
    return object->m_id;
}

CollisionObject* CollisionLayer::Find(std::uint16_t number) const {
    if (number > kDynamicObjectBase) {
        return FindDynamic(number);
    }
    if (number > kStaticLineSegmentBase && number <= kStaticLineSegmentBase + kMaxStaticLineSegments) {
        return SlotOf(m_segments, number - kStaticLineSegmentBase);
    }
    if (number > kStaticCircleBase && number <= kStaticCircleBase + kMaxStaticCircles) {
        return SlotOf(m_circles, number - kStaticCircleBase);
    }
    return nullptr;
}

// A freed entry waits for the next pass before it is reused, so that an id
// kept by a removed game object cannot reach the next object at once.
void CollisionLayer::Remove(std::uint16_t number) {
    CollisionObject* object = Find(number);
    if (object == nullptr) {
        return;
    }
    if (number > kDynamicObjectBase) {
        const std::size_t entry = number - kDynamicObjectBase;
        m_dynamic[entry] = nullptr;
        m_entryStates[entry] = EntryState::Waiting;
        ++m_waitingCount;
    } else if (number > kStaticLineSegmentBase) {
        m_segments[number - kStaticLineSegmentBase] = nullptr;
    } else {
        m_circles[number - kStaticCircleBase] = nullptr;
    }
    delete object;
}

void CollisionLayer::ClearStatic() {
    for (StaticCollisionCircle* circle : m_circles) {
        delete circle;
    }
    for (StaticCollisionLineSegment* segment : m_segments) {
        delete segment;
    }
    m_circles.assign(1, nullptr);
    m_segments.assign(1, nullptr);
    m_grid.ClearStatic();
}

void CollisionLayer::SetGrid(const Vector2D& origin, std::int32_t width, std::int32_t height, std::int32_t cellSize) {
    m_gridOrigin = origin;
    m_gridWidth = width;
    m_gridHeight = height;
    m_gridCellSize = cellSize;
    m_grid.Configure(origin, width, height, cellSize);
    InsertStaticsIntoGrid();
}

void CollisionLayer::InsertStaticsIntoGrid() {
    for (std::size_t slot = 1; slot < m_circles.size(); ++slot) {
        if (m_circles[slot] != nullptr) {
            m_grid.InsertStaticCircle(BoxOf(*m_circles[slot]), static_cast<std::uint16_t>(slot));
        }
    }
    for (std::size_t slot = 1; slot < m_segments.size(); ++slot) {
        if (m_segments[slot] != nullptr) {
            m_grid.InsertStaticSegment(BoxOf(*m_segments[slot]), static_cast<std::uint16_t>(slot));
        }
    }
}

void CollisionLayer::ReleaseWaitingEntries() {
    if (m_waitingCount == 0) {
        return;
    }
    for (std::size_t entry = 1; entry < m_entryStates.size(); ++entry) {
        if (m_entryStates[entry] == EntryState::Waiting) {
            m_entryStates[entry] = EntryState::Free;
            m_firstFreeHint = std::min(m_firstFreeHint, entry);
        }
    }
    m_waitingCount = 0;
}

}  // namespace Collision2D
