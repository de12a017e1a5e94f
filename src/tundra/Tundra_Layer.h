#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_TransformationGroup.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_UnclonableClass.h"
#include "tundra/Tundra_WalkReads.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace Tundra {

class Circle;
class GameObject;
class Line;
class TunPlayer;

// One ordered plane of a level: it owns its game objects and updates them
// in ascending ID, holds the scene group their nodes hang under, and owns one
// collision layer with its static shapes. Additions and removals are queued
// and carried out at the start of the next Update, so the set of objects
// updated in a frame never changes during that frame.
class Layer : public Core::Object {
    TUN_DECLARE_UNCLONABLE_CLASS(Layer);
    // For streams: no collision layer of its own.
    Layer();
    // Appends a collision layer to the game's collision engine.
    explicit Layer(float zOrder);
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;
    ~Layer() override;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    virtual void OnUpdate(float dt) {}
    // Runs once: every object cleaned up (queued additions too), the static
    // shapes of the collision layer it added removed.
    virtual void Shutdown();

    void SetName(const Core::String& name) { m_name = name; }
    const Core::String& GetName() const { return m_name; }
    void SetZOrder(float z);
    float GetZOrder() const { return m_zOrder; }
    void SetScale(float x, float y);
    Vector2D GetScale() const { return {m_scaleX, m_scaleY}; }
    void SetRotation(float degrees);
    float GetRotation() const { return m_rotation; }
    void SetIndex(std::uint32_t index) { m_index = index; }
    std::uint32_t GetIndex() const { return m_index; }
    std::uint8_t GetCollisionId() const { return m_collisionLayer; }
    const Core::RefPtr<Engine::TransformationGroup>& GetSceneNode() const { return m_group; }
    void SetCollisionProperties(const Vector2D& origin, int width, int height, int cellSize);

    // Static shapes at their own coordinates; the collision id, 0 when refused.
    std::uint32_t AddStaticLineSegment(const Vector2D& a, const Vector2D& b, std::uint8_t group, std::uint32_t userId);
    std::uint32_t AddStaticCircle(const Vector2D& center, float radius, std::uint8_t group, std::uint32_t userId);
    // Adds the shapes of a static-collision text file; a missing file, or
    // one above the size limit (with a message), adds nothing.
    void ReadInformation_StaticCollision(const Core::String& path);

    // Queues the object; refused for null, an object in a layer or a
    // cleaned-up one. It starts at the next Update.
    void AddGameObject(GameObject* object, bool networked = false, TunPlayer* owner = nullptr);
    // On the host of a network game, a clone of the replication template of
    // that name added as networked, owned by owner (the host's player when
    // null); null otherwise, or when the front end refuses it.
    GameObject* AddNetworkGameObject(const Core::String& name, TunPlayer* owner);
    // Queues the removal of one of this layer's objects, once.
    void RemoveGameObject(GameObject* object);
    void InsertGameObject(GameObject* object);
    void EraseGameObject(GameObject* object);
    void RenameGameObject(GameObject* object, const Core::String& oldName, const Core::String& newName);

    void GetGameObjects(std::vector<GameObject*>& out) const;
    void GetGameObjectsByName(const Core::String& name, std::vector<GameObject*>& out) const;
    std::uint32_t GetGameObjectsCount() const { return static_cast<std::uint32_t>(m_objects.size()); }
    // Every object the layer holds: its objects, then the queued additions
    // and removals (an object may come twice).
    void GetHeldGameObjects(std::vector<GameObject*>& out) const;

    void Update(float dt);
    void FirstLateUpdate(float dt);
    void SecondLateUpdate(float dt);
    void UpdateGameObjectTransformations();
    void EndGameObjects();

    // Shows each static shape of the collision layer as a line or circle
    // object of this layer, in the collision data colour; shapes already
    // shown keep their object. Hiding destroys them all.
    void SetVisibleCollisionData(bool show);
    bool GetVisibleCollisionData() const { return m_collisionDataShown != 0; }
    // Colours every shown shape too.
    void SetCollisionDataColor(const Color& color);
    const Color& GetCollisionDataColor() const { return m_collisionDataColor; }
    void SetLayerPartitionColor(const Color& color) { m_partitionColor = color; }
    const Color& GetLayerPartitionColor() const { return m_partitionColor; }

private:
    using ObjectRef = Core::RefPtr<GameObject>;

    void UpdateTransformation();
    // Templates (defined where used) so that each walk calls its step directly.
    template <class Action>
    void ForEachObject(WalkReads reads, const Action& action);
    // The walk through the map from entry on.
    template <class Action>
    void WalkObjectsFrom(std::map<std::uint32_t, ObjectRef>::iterator entry, const Action& action);
    void ReleaseIfHeld(const ObjectRef& object);
    void ApplyAdditions();
    void ApplyRemovals();
    void LoadNames(Core::File& file);
    void LoadObjects(Core::File& file);
    // Makes the objects of the static shapes not shown yet.
    void ShowStaticShapes();
    // Colours, shows and adds one display object.
    void AddDisplayObject(GameObject& object);

    Core::RefPtr<Engine::TransformationGroup> m_group;
    std::vector<ObjectRef> m_pendingAdditions;
    std::vector<ObjectRef> m_pendingRemovals;
    std::map<std::uint32_t, ObjectRef> m_objects;
    // Counts the entries filed into and dropped from m_objects.
    std::uint64_t m_objectChanges = 0;
    // m_objects as it stood at m_walkOrderChanges, for the walks over it.
    std::vector<std::pair<std::uint32_t, GameObject*>> m_walkOrder;
    std::uint64_t m_walkOrderChanges = 0;
    std::map<Core::String, std::vector<ObjectRef>> m_objectsByName;
    Core::String m_name;
    float m_zOrder = 0.0f;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_rotation = 0.0f;
    std::uint32_t m_index = 0;
    std::uint8_t m_shutDown = 0;
    std::uint8_t m_collisionLayer = 0;
    std::uint8_t m_collisionDataShown = 0;
    std::uint8_t m_partitionShown = 0;
    Color m_collisionDataColor{0.0f, 0.0f, 0.0f, 1.0f};
    Color m_partitionColor{0.0f, 0.0f, 0.0f, 1.0f};
    Vector2D m_gridOrigin;
    std::int32_t m_gridWidth = 1;
    std::int32_t m_gridHeight = 1;
    std::int32_t m_gridCellSize = 1;
    // The display objects of static shapes, slot k at k - 1; none for an empty slot.
    // Held so that one destroyed elsewhere (or at shut-down) is never freed under us.
    std::vector<Core::RefPtr<Line>> m_debugLines;
    std::vector<Core::RefPtr<Circle>> m_debugCircles;
    // The collision engine's generation when this layer added its collision
    // layer; 0 when it added none (built for a stream, or without a game).
    std::uint64_t m_collisionEpoch = 0;
};

}  // namespace Tundra
