#pragma once

#include "collision/Collision_CollisionFrame.h"
#include "collision/Collision_CollisionObject.h"
#include "collision/Collision_Results.h"
#include "collision/Collision_ShapeTests.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

namespace Core {
class File;
}

namespace Collision2D {

class CollisionActor;

// The shape tests square lengths and multiply the squares in floats, which
// stays finite for shapes and sweeps up to this size, far beyond any level.
// Larger ones are left out of the pass like those at non-finite poses.
inline constexpr float kMaxMeasurableSize = 1e8f;

inline bool IsMeasurableRadius(float radius) { return std::fabs(radius) <= kMaxMeasurableSize; }

// An axis-aligned box for the broad phase.
struct Box {
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;

    bool Overlaps(const Box& o) const { return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY; }
    // Finite and no larger than kMaxMeasurableSize across. Near the float's
    // limit a radius is lost in rounding, so radii are checked on their own.
    bool IsMeasurable() const {
        const float width = maxX - minX;
        const float height = maxY - minY;
        return width >= 0.0f && width <= kMaxMeasurableSize && height >= 0.0f && height <= kMaxMeasurableSize;
    }
};

// The collision object of a game object: the shapes of its sprite's current
// frame, placed at its pose, and the records of the last collision pass.
// It keeps its own copy of the selected frame, so the actor may be freed
// while the object lives; the actor is read only when a frame is selected.
class DynamicObject : public CollisionObject {
public:
    DynamicObject() : CollisionObject(ObjectKind::Dynamic) {}

    // Attaches the actor and selects the frame, keeping the current flips.
    void AddCollisionData(const CollisionActor* actor, int animation, int frame);
    // A frame the actor lacks (or no actor) gives no shapes and no rectangle.
    void SetCurrentCollisionFrame(int animation, int frame, bool horizontalFlip, bool verticalFlip);

    // 0: bounding rectangle only; 1: the frame's shapes too.
    void SetCollisionType(std::uint8_t type) { m_type = type; }
    std::uint8_t GetCollisionType() const { return m_type; }
    // Segments collide as lines this thick; a negative or non-finite value is ignored.
    void SetCollisionThickness(float thickness);
    float GetCollisionThickness() const { return m_thickness; }
    void SetBoundingRectangleCheckingTileMap(bool check) { m_checkTileMaps = check; }
    bool GetBoundingRectangleCheckingTileMap() const { return m_checkTileMaps; }
    void SetZCollision(std::uint8_t group) { m_group = ClampGroup(group); }
    std::uint8_t GetZCollision() const { return m_group; }
    void SetCanCollid(std::uint8_t group, bool allowed);
    bool CanCollideWith(std::uint8_t group) const;
    // Test also while neither the pose nor the frame changes.
    void SetUpdateOnIdle(bool update) { m_updateOnIdle = update; }
    bool GetUpdateOnIdle() const { return m_updateOnIdle; }

    // The move to the current pose is not motion: the next pass sweeps nothing.
    void ResetMotion();

    const Vector2D& GetPosition() const { return m_position; }
    float GetOrientation() const { return m_orientation; }
    const Vector2D& GetOldPosition() const { return m_oldPosition; }
    float GetOldOrientation() const { return m_oldOrientation; }
    const Vector2D& GetOffset() const { return m_offset; }
    const CollisionActor* GetActor() const { return m_actor; }
    int GetAnimationIndex() const { return m_animation; }
    int GetFrameIndex() const { return m_frame; }

    // World space, right after any change of pose or frame.
    std::span<const DynamicCollisionLineSegment> GetCurrentLineSegments() const {
        RefreshWorld();
        return m_worldSegments;
    }
    std::span<const DynamicCollisionCircle> GetCurrentCircles() const {
        RefreshWorld();
        return m_worldCircles;
    }
    TunRect GetCurrentBoundingRectangle() const {
        RefreshWorld();
        return m_worldRectangle;
    }

    // Records of the last pass, ordered by the other's handle (statics by slot).
    const RecordList<BRECT_C>& GetBoundingRectangleCollisions() const { return m_rectangleRecords; }
    const RecordList<DGEO_C>& GetShapeCollisions() const { return m_shapeRecords; }
    const RecordList<LNS_C>& GetLineSegmentCollisions() const { return m_segmentRecords; }
    const RecordList<CIR_C>& GetCircleCollisions() const { return m_circleRecords; }
    std::uint32_t GetTileMapCollisionCount() const { return 0; }
    // Names the other object of a record again (a loaded game's objects get
    // new handles); an index outside the records does nothing.
    void SetBoundingRectangleCollisionHandle(std::uint32_t index, std::uint32_t handle);
    void SetShapeCollisionHandle(std::uint32_t index, std::uint32_t handle);

private:
    friend class CollisionEngine;
    friend class CollisionLayer;
    friend class CollisionPass;

    DynamicObject(const DynamicObject&) = default;

    // Pose setters ignore non-finite values.
    void SetPosition(const Vector2D& position);
    void SetOrientation(float degrees);
    void SetOldPosition(const Vector2D& position);
    void SetOldOrientation(float degrees);
    void SetOffset(const Vector2D& offset);
    // A copy at the position with no id, owner or records.
    DynamicObject* CloneAt(const Vector2D& position) const;
    void PlaceAt(const Vector2D& position);
    void SelectFrame(const CollisionActor* actor, int animation, int frame, bool horizontalFlip, bool verticalFlip);
    // The pass reads the world shapes many times per object: only a stale
    // copy costs a call.
    void RefreshWorld() const {
        if (m_worldStale) RebuildWorld();
    }
    void RebuildWorld() const;
    Box CurrentBox() const;
    Box OldBoxAndMotion();
    // Clears the records and works out whether and where this pass tests
    // the object; CommitPass makes the current pose the old one.
    void PrepareForPass();
    void CommitPass();
    void ClearRecords();
    bool PoseIsFinite() const;
    bool RadiiAreMeasurable() const;

    void Save(Core::File& file) const;
    std::uint32_t Load(Core::File& file);

    // Settings.
    std::uint8_t m_type = 0;
    float m_thickness = 0.0f;
    bool m_checkTileMaps = false;
    std::uint8_t m_group = 0;
    std::array<std::uint64_t, 4> m_allowedGroups{};
    bool m_updateOnIdle = false;

    // Frame selection and the frame's shapes in local units.
    const CollisionActor* m_actor = nullptr;
    std::int32_t m_animation = 0;
    std::int32_t m_frame = 0;
    bool m_horizontalFlip = false;
    bool m_verticalFlip = false;
    bool m_hasFrame = false;
    TunRect m_localRectangle;
    std::vector<DynamicCollisionLineSegment> m_localSegments;
    std::vector<DynamicCollisionCircle> m_localCircles;

    // Pose; changed marks what the pass must test even without motion.
    Vector2D m_position;
    float m_orientation = 0.0f;
    Vector2D m_oldPosition;
    float m_oldOrientation = 0.0f;
    Vector2D m_offset;
    bool m_changed = true;

    // World shapes, rebuilt when read after a change.
    mutable bool m_worldStale = true;
    mutable std::vector<DynamicCollisionLineSegment> m_worldSegments;
    mutable std::vector<DynamicCollisionCircle> m_worldCircles;
    mutable TunRect m_worldRectangle;

    // Pass state: whether it tests this pass, its box and each shape's
    // motion since the old pose.
    bool m_active = false;
    bool m_inGrid = false;
    Box m_box;
    std::vector<Vector2D> m_segmentMotion;
    std::vector<Vector2D> m_circleMotion;

    RecordList<BRECT_C> m_rectangleRecords;
    RecordList<DGEO_C> m_shapeRecords;
    RecordList<LNS_C> m_segmentRecords;
    RecordList<CIR_C> m_circleRecords;
};

}  // namespace Collision2D
