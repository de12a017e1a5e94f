#pragma once

#include "math/Math_Vector2D.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace Core {
class File;
}

namespace Collision2D {

enum class ShapeKind : std::uint8_t { LineSegment = 0, Circle = 1 };

// One shape of this object meeting one shape of another. Normals point out
// of the other shape into this object; the depth is the overlap (0 for a
// contact found only by sweeping).
struct COLLISION_C {
    Vector2D contactPosition;
    float penetrationDistance = 0.0f;
    std::uint32_t numberOfIntersectedPoints = 0;
    Vector2D contactPoint[2];
    Vector2D normal[2];
    ShapeKind ownKind = ShapeKind::LineSegment;
    std::uint32_t ownIndex = 0;   // in this object's list of that kind
    std::uint32_t ownUserId = 0;
    std::uint32_t otherIndex = 0;  // in the other's list; the slot for a static
    std::uint32_t otherUserId = 0;

    void Save(Core::File& file) const;
    void Load(Core::File& file);
};

// The other object's world rectangle overlaps this one's.
struct BRECT_C {
    std::uint32_t handle = 0;  // the other's collision id
};

// Shapes of this object met shapes of another object. The lists keep their
// capacity from pass to pass; only the first current...Number entries count.
struct DGEO_C {
    std::uint32_t handle = 0;
    Vector2D contactPosition;
    std::vector<COLLISION_C> lineSegments;  // against the other's segments
    std::uint32_t currentLineSegmentsNumber = 0;
    std::vector<COLLISION_C> circles;  // against the other's circles
    std::uint32_t currentCirclesNumber = 0;
};

// Against a static segment or circle: otherIndex is its slot.
struct LNS_C : COLLISION_C {
    std::uint32_t handle = 0;
};
struct CIR_C : COLLISION_C {
    std::uint32_t handle = 0;
};

// Tile maps are never created, so no record of this type is ever made.
struct TMAP_C {
    std::uint32_t handle = 0;
};

// A list that keeps its elements between passes, so that steady-state
// passes allocate nothing.
template <class T>
class RecordList {
public:
    std::uint32_t Count() const { return m_count; }
    const T& operator[](std::uint32_t i) const { return m_items[i]; }
    T& operator[](std::uint32_t i) { return m_items[i]; }
    void Clear() { m_count = 0; }
    T& Append() {
        if (m_count == m_items.size()) {
            m_items.emplace_back();
        }
        return m_items[m_count++];
    }
    void RemoveLast() { --m_count; }

private:
    std::vector<T> m_items;
    std::uint32_t m_count = 0;
};

// Insertion sort: the lists are short and nearly in order, and swapping
// keeps every element's capacity.
template <class List, class Less>
void SortList(List& list, std::uint32_t count, Less less) {
    for (std::uint32_t i = 1; i < count; ++i) {
        for (std::uint32_t j = i; j > 0 && less(list[j], list[j - 1]); --j) {
            std::swap(list[j], list[j - 1]);
        }
    }
}

// Appends to a DGEO_C list the same way.
COLLISION_C& AppendShapeResult(std::vector<COLLISION_C>& list, std::uint32_t& count);
// Orders the first count results by own shape (segments first), then by the other's.
void SortShapeResults(std::vector<COLLISION_C>& list, std::uint32_t count);

}  // namespace Collision2D
