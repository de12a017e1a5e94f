#include "collision/Collision_CollisionFrame.h"

#include "collision/Collision_Stream.h"
#include "core/Core_File.h"

namespace Collision2D {

namespace {

Vector2D Flipped(const Vector2D& v, int copy) {
    return {(copy & kFlipHorizontal) ? -v.x : v.x, (copy & kFlipVertical) ? -v.y : v.y};
}

TunRect Flipped(const TunRect& r, int copy) {
    TunRect out = r;
    if (copy & kFlipHorizontal) {
        out.left = -r.right;
        out.right = -r.left;
    }
    if (copy & kFlipVertical) {
        out.top = -r.bottom;
        out.bottom = -r.top;
    }
    return out;
}

}  // namespace

void CollisionFrame::SetBoundingRectangle(const TunRect& rectangle, bool mirror) {
    for (int copy = 0; copy < kFlipCopies; ++copy) {
        m_rectangles[copy] = mirror ? Flipped(rectangle, copy) : rectangle;
    }
}

void CollisionFrame::AddCircle(const Vector2D& centre, float radius, int userId, bool mirror) {
    for (int copy = 0; copy < kFlipCopies; ++copy) {
        const Math::Circle2D circle(mirror ? Flipped(centre, copy) : centre, radius);
        m_circles[copy].emplace_back(circle, static_cast<std::uint32_t>(userId));
    }
}

void CollisionFrame::AddLineSegment(const Vector2D& p1, const Vector2D& p2, int userId, bool mirror) {
    for (int copy = 0; copy < kFlipCopies; ++copy) {
        const Math::LineSegment2D segment(mirror ? Flipped(p1, copy) : p1, mirror ? Flipped(p2, copy) : p2);
        m_segments[copy].emplace_back(segment, static_cast<std::uint32_t>(userId));
    }
}

// Every copy is stored as it stands, so a frame comes back byte for byte
// whatever mirror flags built it.
void CollisionFrame::Save(Core::File& file) const {
    for (const TunRect& r : m_rectangles) {
        WriteRect(file, r);
    }
    file.WriteU32(static_cast<std::uint32_t>(m_circles[0].size()));
    for (std::size_t i = 0; i < m_circles[0].size(); ++i) {
        for (int copy = 0; copy < kFlipCopies; ++copy) {
            WriteCircle(file, m_circles[copy][i]);
        }
    }
    file.WriteU32(static_cast<std::uint32_t>(m_segments[0].size()));
    for (std::size_t i = 0; i < m_segments[0].size(); ++i) {
        for (int copy = 0; copy < kFlipCopies; ++copy) {
            WriteSegment(file, m_segments[copy][i]);
        }
    }
}

void CollisionFrame::Load(Core::File& file) {
    for (TunRect& r : m_rectangles) {
        ReadRect(file, r);
    }
    const std::uint32_t circles = ReadCount(file, kMaxShapesPerFrame);
    for (std::uint32_t i = 0; i < circles && !file.HasFailed(); ++i) {
        for (int copy = 0; copy < kFlipCopies; ++copy) {
            m_circles[copy].push_back(ReadCircle(file));
        }
    }
    const std::uint32_t segments = ReadCount(file, kMaxShapesPerFrame);
    for (std::uint32_t i = 0; i < segments && !file.HasFailed(); ++i) {
        for (int copy = 0; copy < kFlipCopies; ++copy) {
            m_segments[copy].push_back(ReadSegment(file));
        }
    }
}

}  // namespace Collision2D
