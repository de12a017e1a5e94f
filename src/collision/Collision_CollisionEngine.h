#pragma once

#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_CollisionPass.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Shapes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Core {
class File;
class Object;
}  // namespace Core

namespace Collision2D {

// The collision world: layers of static shapes and dynamic objects, one pass
// per frame, and the records that the pass leaves on each dynamic object.
// Every call that takes an id ignores 0 and ids that name nothing; the
// group bits of an id are never looked at.
class CollisionEngine {
public:
    static constexpr std::uint8_t kNoLayer = 255;

    CollisionEngine();
    CollisionEngine(const CollisionEngine&) = delete;
    CollisionEngine& operator=(const CollisionEngine&) = delete;
    ~CollisionEngine();

    // One pass over every layer; motion runs from the old pose to the
    // current one, so dt is not used.
    void Update(float dt);
    // Deletes every layer with everything in it.
    void Clear();
    // Layer count, then each layer. Byte for byte the same after a load.
    void Save(Core::File& file) const;
    // Replaces the whole state; a stream that fails leaves the engine empty.
    // Owners and actors are not stored: the game sets them again.
    void Load(Core::File& file);

    // The new layer's index; kNoLayer once 255 layers exist.
    std::uint8_t AddLayer();
    std::uint32_t GetLayerCount() const { return static_cast<std::uint32_t>(m_layers.size()); }
    const CollisionLayer* GetLayer(std::uint8_t layer) const;
    // The cell size is raised to at least 50; see BroadPhaseGrid.
    void SetLayerGrid(std::uint8_t layer, const Vector2D& origin, int width, int height, int cellSize);

    // The engine owns what it is given, even when it refuses it: a refused
    // object (unknown layer, range full, non-finite shape, negative radius)
    // is deleted and 0 returned. An object the engine holds already is
    // refused without being deleted.
    std::uint32_t AddObject(DynamicObject* object, std::uint8_t layer, const Vector2D& position);
    // Statics are moved by position as they are added.
    std::uint32_t AddObject(StaticCollisionCircle* circle, std::uint8_t layer, const Vector2D& position);
    std::uint32_t AddObject(StaticCollisionLineSegment* segment, std::uint8_t layer, const Vector2D& position);
    void RemoveObject(std::uint32_t id);
    // A copy of a dynamic object in its layer at position, with no records;
    // 0 when the id names no dynamic object or the layer is full.
    std::uint32_t CloneObject(std::uint32_t id, const Vector2D& position, Core::Object* owner);
    void ClearStaticGeometry(std::uint8_t layer);

    // Poses of dynamic objects; other ids and non-finite values are ignored.
    void SetObjectPosition(std::uint32_t id, const Vector2D& position);
    void SetObjectOrientation(std::uint32_t id, float degrees);
    void SetObjectOldPosition(std::uint32_t id, const Vector2D& position);
    void SetObjectOldOrientation(std::uint32_t id, float degrees);
    void SetObjectOffset(std::uint32_t id, const Vector2D& offset);

    // Asked for every body and every record each frame: inline.
    DynamicObject* GetCollisionResults(std::uint32_t id) const {
        const CollisionLayer* layer = LayerOf(id);
        return layer == nullptr ? nullptr : layer->FindDynamic(NumberOf(id));
    }
    CollisionObject* GetObject(std::uint32_t id) const;

private:
    static std::uint16_t NumberOf(std::uint32_t id) { return static_cast<std::uint16_t>(id & 0xFFFFu); }
    CollisionLayer* LayerOf(std::uint32_t id) const {
        const std::uint32_t layer = id >> 24;
        return id != 0 && layer < m_layers.size() ? m_layers[layer].get() : nullptr;
    }
    std::vector<std::unique_ptr<CollisionLayer>> m_layers;
    CollisionPass m_pass;
};

}  // namespace Collision2D
