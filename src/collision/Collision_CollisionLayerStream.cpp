#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_Stream.h"

#include <cmath>

// The stored form of a layer: its grid settings, every static slot (empty
// ones as a single 0 byte), then every dynamic entry with its state.

namespace Collision2D {

namespace {

using Math::IsFinite;

// The stored id must name this very slot of this layer.
bool NamesSlot(std::uint32_t id, std::uint8_t layer, std::uint32_t number) {
    std::uint16_t storedNumber = 0;
    std::uint8_t group = 0;
    std::uint8_t storedLayer = 0;
    DecodeCollisionId(id, storedNumber, group, storedLayer);
    return storedLayer == layer && storedNumber == number;
}

template <class Shape>
void WriteStatic(Core::File& file, const Shape* shape) {
    file.WriteU8(shape != nullptr);
    if (shape == nullptr) {
        return;
    }
    file.WriteU32(shape->GetId());
    file.WriteU8(shape->GetZCollision());
    shape->Write(file);
    file.WriteU32(shape->GetUserId());
}

}  // namespace

void CollisionLayer::Save(Core::File& file) const {
    WriteVector(file, m_gridOrigin);
    file.WriteI32(m_gridWidth);
    file.WriteI32(m_gridHeight);
    file.WriteI32(m_gridCellSize);
    file.WriteU32(GetStaticCircleSlotCount());
    for (std::size_t slot = 1; slot < m_circles.size(); ++slot) {
        WriteStatic(file, m_circles[slot]);
    }
    file.WriteU32(GetStaticLineSegmentSlotCount());
    for (std::size_t slot = 1; slot < m_segments.size(); ++slot) {
        WriteStatic(file, m_segments[slot]);
    }
    file.WriteU32(GetDynamicEntryCount());
    for (std::size_t entry = 1; entry < m_dynamic.size(); ++entry) {
        file.WriteU8(static_cast<std::uint8_t>(m_entryStates[entry]));
        if (m_dynamic[entry] != nullptr) {
            m_dynamic[entry]->Save(file);
        }
    }
}

// Into a new layer. Whatever was read stays owned by the layer, so a failed
// stream leaves nothing behind when the engine deletes it.
void CollisionLayer::Load(Core::File& file) {
    const Vector2D origin = ReadVector(file);
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t cellSize = 0;
    file.ReadI32(width);
    file.ReadI32(height);
    file.ReadI32(cellSize);
    if (file.HasFailed()) {
        return;
    }
    SetGrid(origin, width, height, cellSize);

    const std::uint32_t circles = ReadCount(file, kMaxStaticCircles + 1);
    for (std::uint32_t slot = 1; slot < circles && !file.HasFailed(); ++slot) {
        if (!ReadBool(file)) {
            m_circles.push_back(nullptr);
            continue;
        }
        auto* circle = new StaticCollisionCircle;
        m_circles.push_back(circle);
        std::uint8_t group = 0;
        std::uint32_t userId = 0;
        file.ReadU32(circle->m_id);
        file.ReadU8(group);
        circle->Read(file);
        file.ReadU32(userId);
        circle->SetZCollision(group);
        circle->SetUserId(userId);
        if (!NamesSlot(circle->m_id, m_index, kStaticCircleBase + slot) || !IsFinite(circle->center) ||
            !(circle->radius >= 0.0f) || !std::isfinite(circle->radius) || group > kMaxGroup) {
            file.SetFailed();
        }
        if (!file.HasFailed()) {
            m_grid.InsertStaticCircle(BoxOf(*circle), static_cast<std::uint16_t>(slot));
        }
    }
    const std::uint32_t segments = ReadCount(file, kMaxStaticLineSegments + 1);
    for (std::uint32_t slot = 1; slot < segments && !file.HasFailed(); ++slot) {
        if (!ReadBool(file)) {
            m_segments.push_back(nullptr);
            continue;
        }
        auto* segment = new StaticCollisionLineSegment;
        m_segments.push_back(segment);
        std::uint8_t group = 0;
        std::uint32_t userId = 0;
        file.ReadU32(segment->m_id);
        file.ReadU8(group);
        segment->Read(file);
        file.ReadU32(userId);
        segment->SetZCollision(group);
        segment->SetUserId(userId);
        if (!NamesSlot(segment->m_id, m_index, kStaticLineSegmentBase + slot) || !IsFinite(segment->pointA) ||
            !IsFinite(segment->pointB) || group > kMaxGroup) {
            file.SetFailed();
        }
        if (!file.HasFailed()) {
            m_grid.InsertStaticSegment(BoxOf(*segment), static_cast<std::uint16_t>(slot));
        }
    }
    const std::uint32_t entries = ReadCount(file, kMaxDynamicObjects + 1);
    for (std::uint32_t entry = 1; entry < entries && !file.HasFailed(); ++entry) {
        std::uint8_t state = 0;
        file.ReadU8(state);
        m_dynamic.push_back(nullptr);
        m_entryStates.push_back(static_cast<EntryState>(state));
        if (state == static_cast<std::uint8_t>(EntryState::Waiting)) {
            ++m_waitingCount;
        } else if (state == static_cast<std::uint8_t>(EntryState::Used)) {
            auto* object = new DynamicObject;
            m_dynamic.back() = object;
            object->m_id = object->Load(file);
            if (!NamesSlot(object->m_id, m_index, kDynamicObjectBase + entry)) {
                file.SetFailed();
            }
        } else if (state != static_cast<std::uint8_t>(EntryState::Free)) {
            file.SetFailed();
        }
    }
}

}  // namespace Collision2D
