#include "collision/Collision_DynamicObject.h"

#include "collision/Collision_CollisionActor.h"
#include "math/Math_Matrix3.h"

#include <algorithm>
#include <cmath>

namespace Collision2D {

namespace {

using Math::IsFinite;

// world = position + R(orientation) (local - offset)
struct Placement {
    Matrix3 rotation;
    Vector2D position;
    Vector2D offset;

    // Most objects never turn: skip the sine and cosine for them.
    Placement(const Vector2D& p, float degrees, const Vector2D& o)
        : rotation(degrees == 0.0f ? Matrix3() : Matrix3::Rotation(degrees)), position(p), offset(o) {}
    Vector2D operator()(const Vector2D& local) const {
        return position + Matrix3::TransformPoint(rotation, local - offset);
    }
};

// Unlike std::min and std::max these keep a NaN from either side, so that
// a shape placed at NaN (a NaN in the frame, or a placement that overflowed)
// leaves the box unmeasurable and the object out of the pass.
float Lower(float a, float b) { return std::isnan(a) || a < b ? a : b; }
float Higher(float a, float b) { return std::isnan(a) || a > b ? a : b; }

void Grow(Box& box, const Vector2D& p, float radius) {
    box.minX = Lower(box.minX, p.x - radius);
    box.minY = Lower(box.minY, p.y - radius);
    box.maxX = Higher(box.maxX, p.x + radius);
    box.maxY = Higher(box.maxY, p.y + radius);
}

}  // namespace

void DynamicObject::AddCollisionData(const CollisionActor* actor, int animation, int frame) {
    SelectFrame(actor, animation, frame, m_horizontalFlip, m_verticalFlip);
}

void DynamicObject::SetCurrentCollisionFrame(int animation, int frame, bool horizontalFlip, bool verticalFlip) {
    if (m_animation == animation && m_frame == frame && m_horizontalFlip == horizontalFlip &&
        m_verticalFlip == verticalFlip) {
        return;
    }
    SelectFrame(m_actor, animation, frame, horizontalFlip, verticalFlip);
}

// A change of the selected frame or flips makes the object test this pass,
// even when the new frame has the same shapes (an idle object animating
// must meet its idle partners). Re-attaching an actor after a load keeps
// the selection and the shapes, so an idle object stays idle.
void DynamicObject::SelectFrame(const CollisionActor* actor, int animation, int frame, bool horizontalFlip,
                                bool verticalFlip) {
    const bool reselected = m_animation != animation || m_frame != frame || m_horizontalFlip != horizontalFlip ||
                            m_verticalFlip != verticalFlip;
    m_actor = actor;
    m_animation = animation;
    m_frame = frame;
    m_horizontalFlip = horizontalFlip;
    m_verticalFlip = verticalFlip;
    const CollisionFrame* selected = actor == nullptr ? nullptr : actor->GetFrame(animation, frame);
    const int copy = FlipCopyOf(horizontalFlip, verticalFlip);
    static const std::vector<DynamicCollisionLineSegment> kNoSegments;
    static const std::vector<DynamicCollisionCircle> kNoCircles;
    const auto& segments = selected ? selected->GetLineSegments(copy) : kNoSegments;
    const auto& circles = selected ? selected->GetCircles(copy) : kNoCircles;
    const TunRect rectangle = selected ? selected->GetBoundingRectangle(copy) : TunRect{};
    const bool sameShapes = m_hasFrame == (selected != nullptr) && m_localRectangle == rectangle &&
                            m_localSegments == segments && m_localCircles == circles;
    if (!sameShapes) {
        m_hasFrame = selected != nullptr;
        m_localRectangle = rectangle;
        m_localSegments = segments;
        m_localCircles = circles;
        m_worldStale = true;
    }
    m_changed = m_changed || reselected || !sameShapes;
}

void DynamicObject::SetCollisionThickness(float thickness) {
    if (std::isfinite(thickness) && thickness >= 0.0f) {
        m_thickness = thickness;
    }
}

void DynamicObject::SetCanCollid(std::uint8_t group, bool allowed) {
    const std::uint8_t g = ClampGroup(group);
    const std::uint64_t bit = std::uint64_t{1} << (g % 64);
    if (allowed) {
        m_allowedGroups[g / 64] |= bit;
    } else {
        m_allowedGroups[g / 64] &= ~bit;
    }
}

bool DynamicObject::CanCollideWith(std::uint8_t group) const {
    const std::uint8_t g = ClampGroup(group);
    return (m_allowedGroups[g / 64] >> (g % 64) & 1u) != 0;
}

void DynamicObject::ResetMotion() {
    m_oldPosition = m_position;
    m_oldOrientation = m_orientation;
}

void DynamicObject::SetPosition(const Vector2D& position) {
    if (IsFinite(position)) {
        m_position = position;
        m_worldStale = true;
    }
}

void DynamicObject::SetOrientation(float degrees) {
    if (std::isfinite(degrees)) {
        m_orientation = degrees;
        m_worldStale = true;
    }
}

void DynamicObject::SetOldPosition(const Vector2D& position) {
    if (IsFinite(position)) {
        m_oldPosition = position;
    }
}

void DynamicObject::SetOldOrientation(float degrees) {
    if (std::isfinite(degrees)) {
        m_oldOrientation = degrees;
    }
}

// The pivot has no old value to sweep from, so moving it only marks the
// object as changed.
void DynamicObject::SetOffset(const Vector2D& offset) {
    if (IsFinite(offset)) {
        m_offset = offset;
        m_changed = true;
        m_worldStale = true;
    }
}

void DynamicObject::PlaceAt(const Vector2D& position) {
    m_position = position;
    m_oldPosition = position;
    m_oldOrientation = m_orientation;
    m_changed = true;
    m_worldStale = true;
    ClearRecords();
}

DynamicObject* DynamicObject::CloneAt(const Vector2D& position) const {
    auto* copy = new DynamicObject(*this);
    copy->SetOwner(nullptr);
    copy->PlaceAt(position);
    return copy;
}

void DynamicObject::RebuildWorld() const {
    m_worldStale = false;
    const Placement place(m_position, m_orientation, m_offset);
    m_worldSegments.resize(m_localSegments.size());
    for (std::size_t i = 0; i < m_localSegments.size(); ++i) {
        const auto& s = m_localSegments[i];
        m_worldSegments[i] = {Math::LineSegment2D(place(s.pointA), place(s.pointB)), s.GetUserId()};
    }
    m_worldCircles.resize(m_localCircles.size());
    for (std::size_t i = 0; i < m_localCircles.size(); ++i) {
        const auto& c = m_localCircles[i];
        m_worldCircles[i] = {Math::Circle2D(place(c.center), c.radius), c.GetUserId()};
    }
    if (!m_hasFrame) {
        m_worldRectangle = {};
        return;
    }
    const TunRect& r = m_localRectangle;
    Box box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (const Vector2D& corner : {Vector2D(r.left, r.top), Vector2D(r.right, r.top), Vector2D(r.right, r.bottom),
                                   Vector2D(r.left, r.bottom)}) {
        Grow(box, place(corner), 0.0f);
    }
    m_worldRectangle = {box.maxY, box.minX, box.maxX, box.minY};
}

// The old pose's box, and each shape's motion from it to the current pose.
Box DynamicObject::OldBoxAndMotion() {
    const Placement place(m_oldPosition, m_oldOrientation, m_offset);
    const float half = m_thickness * 0.5f;
    Box box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    const TunRect& r = m_localRectangle;
    for (const Vector2D& corner : {Vector2D(r.left, r.top), Vector2D(r.right, r.top), Vector2D(r.right, r.bottom),
                                   Vector2D(r.left, r.bottom)}) {
        Grow(box, place(corner), half);
    }
    for (std::size_t i = 0; i < m_localSegments.size(); ++i) {
        const Vector2D a = place(m_localSegments[i].pointA);
        const Vector2D b = place(m_localSegments[i].pointB);
        Grow(box, a, half);
        Grow(box, b, half);
        m_segmentMotion[i] = Midpoint(m_worldSegments[i].pointA, m_worldSegments[i].pointB) - Midpoint(a, b);
    }
    for (std::size_t i = 0; i < m_localCircles.size(); ++i) {
        const Vector2D c = place(m_localCircles[i].center);
        Grow(box, c, m_localCircles[i].radius);
        m_circleMotion[i] = m_worldCircles[i].center - c;
    }
    return box;
}

Box DynamicObject::CurrentBox() const {
    const float half = m_thickness * 0.5f;
    const TunRect& r = m_worldRectangle;
    Box box{r.left - half, r.bottom - half, r.right + half, r.top + half};
    for (const auto& s : m_worldSegments) {
        Grow(box, s.pointA, half);
        Grow(box, s.pointB, half);
    }
    for (const auto& c : m_worldCircles) {
        Grow(box, c.center, c.radius);
    }
    return box;
}

bool DynamicObject::PoseIsFinite() const {
    return IsFinite(m_position) && IsFinite(m_oldPosition) && IsFinite(m_offset) && std::isfinite(m_orientation) &&
           std::isfinite(m_oldOrientation);
}

bool DynamicObject::RadiiAreMeasurable() const {
    return IsMeasurableRadius(m_thickness * 0.5f) &&
           std::all_of(m_localCircles.begin(), m_localCircles.end(),
                       [](const DynamicCollisionCircle& c) { return IsMeasurableRadius(c.radius); });
}

void DynamicObject::SetBoundingRectangleCollisionHandle(std::uint32_t index, std::uint32_t handle) {
    if (index < m_rectangleRecords.Count()) {
        m_rectangleRecords[index].handle = handle;
    }
}

void DynamicObject::SetShapeCollisionHandle(std::uint32_t index, std::uint32_t handle) {
    if (index < m_shapeRecords.Count()) {
        m_shapeRecords[index].handle = handle;
    }
}

void DynamicObject::ClearRecords() {
    m_rectangleRecords.Clear();
    m_shapeRecords.Clear();
    m_segmentRecords.Clear();
    m_circleRecords.Clear();
}

void DynamicObject::PrepareForPass() {
    ClearRecords();
    RefreshWorld();
    const bool moved = !(m_position == m_oldPosition) || m_orientation != m_oldOrientation;
    m_active = m_hasFrame && (m_changed || moved || m_updateOnIdle);
    m_inGrid = false;
    m_segmentMotion.assign(m_localSegments.size(), Vector2D());
    m_circleMotion.assign(m_localCircles.size(), Vector2D());
    if (!m_hasFrame || !PoseIsFinite()) {
        return;
    }
    m_box = CurrentBox();
    if (moved) {
        const Box old = OldBoxAndMotion();
        m_box = {Lower(m_box.minX, old.minX), Lower(m_box.minY, old.minY), Higher(m_box.maxX, old.maxX),
                 Higher(m_box.maxY, old.maxY)};
    }
    m_inGrid = m_box.IsMeasurable() && RadiiAreMeasurable();
}

void DynamicObject::CommitPass() {
    SortList(m_rectangleRecords, m_rectangleRecords.Count(),
             [](const BRECT_C& a, const BRECT_C& b) { return a.handle < b.handle; });
    SortList(m_shapeRecords, m_shapeRecords.Count(),
             [](const DGEO_C& a, const DGEO_C& b) { return a.handle < b.handle; });
    const auto bySlot = [](const COLLISION_C& a, const COLLISION_C& b) {
        if (a.otherIndex != b.otherIndex) {
            return a.otherIndex < b.otherIndex;
        }
        return a.ownKind != b.ownKind ? a.ownKind < b.ownKind : a.ownIndex < b.ownIndex;
    };
    SortList(m_segmentRecords, m_segmentRecords.Count(), bySlot);
    SortList(m_circleRecords, m_circleRecords.Count(), bySlot);
    ResetMotion();
    m_changed = false;
}

}  // namespace Collision2D
