#pragma once

#include "collision/Collision_Allocated.h"
#include "collision/Collision_CollisionId.h"
#include "collision/Collision_Shapes.h"

#include <array>
#include <vector>

namespace Core {
class File;
}

namespace Collision2D {

// Which copy of a frame's shapes a sprite's flips select.
enum FlipCopy : int { kFlipNone = 0, kFlipHorizontal = 1, kFlipVertical = 2, kFlipBoth = 3 };
inline constexpr int kFlipCopies = 4;

inline int FlipCopyOf(bool horizontalFlip, bool verticalFlip) {
    return (horizontalFlip ? kFlipHorizontal : 0) | (verticalFlip ? kFlipVertical : 0);
}

// The shapes of one animation frame in sprite-local units (y up), kept in
// the four flip copies so that selecting a flip never computes anything.
// A horizontal flip negates x, a vertical flip y.
class CollisionFrame : public Allocated {
public:
    // Without mirror the plain rectangle serves every flip.
    void SetBoundingRectangle(const TunRect& rectangle, bool mirror);
    void AddCircle(const Vector2D& centre, float radius, int userId, bool mirror);
    void AddLineSegment(const Vector2D& p1, const Vector2D& p2, int userId, bool mirror);

    const TunRect& GetBoundingRectangle(int copy) const { return m_rectangles[copy]; }
    const std::vector<DynamicCollisionCircle>& GetCircles(int copy) const { return m_circles[copy]; }
    const std::vector<DynamicCollisionLineSegment>& GetLineSegments(int copy) const { return m_segments[copy]; }

    void Save(Core::File& file) const;
    // Into an empty frame; stops when the stream fails.
    void Load(Core::File& file);

private:
    std::array<TunRect, kFlipCopies> m_rectangles{};
    std::array<std::vector<DynamicCollisionCircle>, kFlipCopies> m_circles;
    std::array<std::vector<DynamicCollisionLineSegment>, kFlipCopies> m_segments;
};

}  // namespace Collision2D
