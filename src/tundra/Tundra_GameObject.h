#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_TransformationGroup.h"
#include "math/Math_Color.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Vector2D.h"
#include "network/Network_TunNet.h"
#include "tundra/Lua_ScriptOrigin.h"
#include "tundra/Tundra_WalkReads.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class LuaScript;

namespace Collision2D {
class DynamicObject;
}
namespace Input {
class Keyboard;
class Mouse;
}  // namespace Input
namespace Physics2D {
class Force;
class MassProperties;
class RigidBody;
}  // namespace Physics2D

namespace Tundra {

class Layer;

// The base of everything that lives in a level layer: a scene node that
// draws it, a 2D transform, a name and a process-unique ID, a lifetime, the
// handles of its collision object and rigid body, the objects mounted on it
// and the fields of an optional script. The layer decides when the life-cycle
// operations run; destruction is only requested and carried out between
// frames.
class GameObject : public Core::Object {
    TUN_DECLARE_CLASS(GameObject);
    GameObject();
    // Used only by Clone: a new ID and node, no layer, mount, mounts or
    // identity, its own copies of the source's collision object and body, and
    // a life of its own (neither destroyed, queued for it nor cleaned up).
    GameObject(const GameObject& other);
    GameObject& operator=(const GameObject&) = delete;
    ~GameObject() override;

    LuaScript* GetScript() const override { return m_script; }
    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The process-wide ID counter: every constructor takes its value and
    // increments it; a level change restarts it at 0.
    static std::uint32_t GetIdCounter();
    static void SetIdCounter(std::uint32_t value);

    // Requests destruction once: the "Destroy" hook, then the layer queues
    // the removal. The object leaves at the layer's next update.
    virtual void Destroy();
    virtual void ReservedA() {}
    // The full state a replicated object is announced with, and the short
    // state sent every tick; derived classes append theirs. A message that
    // ends early changes nothing of the fixed part.
    virtual void NetworkSave(Core::File& file) const;
    virtual void NetworkLoad(Core::File& file);
    virtual bool ReservedB() { return true; }
    virtual void NetworkSyncSend(Core::File& file) const;
    virtual void NetworkSyncReceive(Core::File& file);
    virtual void OnStart();
    virtual void OnEnd();
    // Lifetime, then Update and RenderSync; a replica on a client only
    // moves half way to its last received state.
    virtual void EngineUpdate(float dt);
    virtual void Update(float dt);
    // A new component manager; whether this process hosts a network game.
    virtual bool Initialize();
    // Detaches and releases everything held outside the object; runs once.
    virtual void Cleanup();
    virtual void ReservedC(float dt) {}
    virtual void ReservedD(float dt) {}
    virtual void ReservedE(std::uint32_t value) {}
    virtual void RenderSync(float dt) {}
    virtual void ReservedF() {}

    // Identity and life.
    bool IsDestroyed() const { return m_destroyed; }
    bool IsDestroyRequested() const { return m_destroyRequested; }
    void SetName(const Core::String& name);
    const Core::String& GetName() const { return m_name; }
    std::uint32_t GetID() const { return m_id; }
    void SetLifeTime(float seconds) { m_lifeTime = seconds; }
    float GetLifeTime() const { return m_lifeTime; }
    float GetAge() const { return m_age; }
    void ResetAge() { m_age = 0.0f; }
    Layer* GetLayer() const { return m_layer; }
    bool IsNetworkObject() const { return m_networkId != nullptr; }
    // A replicated object on a client of a network game.
    bool IsNetworkReplica() const;
    // A new identity owned by player (the local player when null) that keeps
    // the object number; false, changing nothing, without an identity or
    // without any owner to give it.
    bool ChangeNetworkOwner(const TunPlayer* player);
    // The owner's player id; false without an identity.
    bool GetNetworkOwner(std::uint32_t& playerId) const;
    // Null for an object that is not networked.
    const NetObjectID* GetNetworkId() const { return m_networkId.Get(); }
    // The replication template name the object was made from ("0": none).
    const Core::String& GetNetworkClassName() const { return m_networkClassName; }
    // On the host of a network game, the devices that mirror the owning
    // remote player's input; otherwise the game's own (null without a game).
    Input::Keyboard* GetNetworkKeyboard() const;
    Input::Mouse* GetNetworkMouse() const;

    // Appearance.
    void SetZOrder(float z) { m_zOrder = z; }
    float GetZOrder() const { return m_zOrder; }
    void SetModulationColor(const Color& color) { m_color = color; }
    const Color& GetModulationColor() const { return m_color; }
    void SetOpacity(float opacity) { m_opacity = opacity; }
    float GetOpacity() const { return m_opacity; }
    // The whole subtree of the node, and the objects mounted on this one.
    void SetVisible(bool visible);
    bool GetVisible() const { return m_node->GetVisible(); }
    const Core::RefPtr<Engine::TransformationGroup>& GetSceneNode() const { return m_node; }
    void SetTransformSync(bool sync) { m_transformSync = sync; }
    bool GetTransformSync() const { return m_transformSync; }

    // Transform; every setter keeps the node, the collision object, the body
    // and the mounted objects in step.
    void SetPosition(const Vector2D& position);
    void SetPositionXY(float x, float y) { SetPosition({x, y}); }
    void SetPositionX(float x) { SetPosition({x, m_position.y}); }
    void SetPositionY(float y) { SetPosition({m_position.x, y}); }
    const Vector2D& GetPosition() const { return m_position; }
    float GetPositionX() const { return m_position.x; }
    float GetPositionY() const { return m_position.y; }
    // As SetPosition, but the collision object's previous position is set.
    void SetOldPosition(const Vector2D& position);
    void SetRotationAngle(float degrees);
    void SetOldRotationAngle(float degrees);
    float GetRotationAngle() const { return m_rotation; }
    void SetDirectionX(float x);
    void SetDirectionY(float y);
    // Turns to the direction of the vector; GetDirection is the unit vector
    // of the angle.
    void SetDirection(const Vector2D& direction);
    Vector2D GetDirection() const;
    void SetCenter(const Vector2D& center);
    void SetCenterX(float x) { SetCenter({x, m_center.y}); }
    void SetCenterY(float y) { SetCenter({m_center.x, y}); }
    const Vector2D& GetCenter() const { return m_center; }
    void SetScale(float x, float y);
    void SetScaleX(float x) { SetScale(x, m_scaleY); }
    void SetScaleY(float y) { SetScale(m_scaleX, y); }
    float GetScaleX() const { return m_scaleX; }
    float GetScaleY() const { return m_scaleY; }
    // Rebuilds the node's transformation while transform sync is on.
    void UpdateTransformation();
    // Ask the caches for what a walk reads of this object: its own lines
    // first, its node's once the node's address has come in.
    void PrefetchState(WalkReads reads) const;
    void PrefetchNode(WalkReads reads) const;

    // Mounting: neither side holds a reference. A child may be mounted
    // twice; a child that is this object or one of its mounts is refused.
    void Mount(GameObject* child);
    void UnMount(GameObject* child);
    GameObject* GetMount() const { return m_mount; }
    int GetMountsCount() const { return static_cast<int>(m_mounted.size()); }
    GameObject* GetMountAt(int i) const;

    // Collision object: the engine takes it (removing an earlier one first);
    // false for null or a refused object, and once cleaned up (the object
    // given is freed).
    bool AddCollision(Collision2D::DynamicObject* object, std::uint8_t collisionLayer);
    void RemoveCollision();
    // Null when the id names no live collision object of this object.
    Collision2D::DynamicObject* GetCollisionObject() const;
    bool ObjectInCollision() const;
    std::uint32_t GetCollisionId() const { return m_collisionId; }

    // Rigid body: none once cleaned up. A body let go of names no owner.
    bool AddPhysicalProperties(const Physics2D::MassProperties* mass, int solverKind);
    bool RemovePhysicalProperties();
    void SetVelocity(const Vector2D& velocity);
    bool GetVelocity(Vector2D& velocity) const;
    void SetAngularVelocity(float degreesPerSecond);
    bool GetAngularVelocity(float& degreesPerSecond) const;
    void RemoveAllForces();
    // The force gains a reference; null is ignored.
    void AddForce(Physics2D::Force* force);
    bool RemoveForce(std::uint32_t i);
    bool GetMassProperties(Physics2D::MassProperties& mass) const;
    void SetMassProperties(const Physics2D::MassProperties& mass);
    bool GetCenterOfMass(Vector2D& center) const;
    bool SetSpeed(float speed);
    bool SetVelocityDirection(float x, float y);
    std::uint32_t GetPhysicsId() const { return m_physicsId; }
    // The body's callbacks: its owner follows the body.
    static void OnRigidBodyTransform(Physics2D::RigidBody* body, Core::Object* owner);
    static void OnRigidBodyOldTransform(Physics2D::RigidBody* body, Core::Object* owner);
    // Gives every body of the list both callbacks again (after a physics
    // world was read back); null entries are skipped.
    static void AttachRigidBodyCallbacks(const std::vector<Physics2D::RigidBody*>& bodies);

    // Script: a name given here is the game's own; names read from a save or
    // a peer are foreign.
    void SetScript(const Core::String& name) {
        m_scriptName = name;
        m_scriptOrigin = ScriptOrigin::Game;
    }
    void RunScript(bool skipConstructor);
    // The object holds a reference to it until Cleanup and its script sees
    // it under the name; null, the object itself and anything handed over
    // after Cleanup are refused.
    void AddManagedObject(Core::Object* object, const Core::String& name);
    // The stream the network layer lends for one save, load or
    // synchronisation of this object; null otherwise.
    Core::File* GetNetworkStream() const { return m_networkStream; }
    void SetNetworkStream(Core::File* stream) { m_networkStream = stream; }

protected:
    // Where RenderSync writes into another node (its first and last byte),
    // asked for ahead with this object's scene node; nulls for nothing.
    void SetRenderSyncTarget(const void* firstByte, const void* lastByte) {
        m_renderSyncTarget = {firstByte, lastByte};
    }
    // Calls a script hook when an instance exists, is not inactive and the
    // hook's own condition holds.
    void RunHook(const char* hook, bool condition) const;
    void RunHook(const char* hook, bool condition, float argument) const;
    // "OnClone" gets the source object.
    void RunHook(const char* hook, bool condition, const Core::Object* argument) const;

private:
    friend class Game;
    friend class Layer;
    friend class TunNet;

    // The ids while they still name this object's entries: 0 after a
    // removal, once the engine was cleared since, or without a game.
    std::uint32_t LiveCollisionId() const;
    std::uint32_t LivePhysicsId() const;
    void AdoptCollisionId(std::uint32_t id);
    void AdoptPhysicsId(std::uint32_t id);
    // Both ends of every mount link of this object let go of each other.
    void UnlinkMounts();
    // Moves this object alone as its mount moved.
    void MoveWithMount(const Vector2D& pivot, const Vector2D& delta, float change);
    // Every object mounted on this one, on those, and so on, depth first.
    // The action leaves every mount list as it is. Most objects carry none:
    // they skip making the walk's function.
    template <class Action>
    void ForEachMounted(const Action& action) const {
        if (!m_mounted.empty()) {
            WalkMounted(action);
        }
    }
    void WalkMounted(const std::function<void(GameObject&)>& action) const;
    // On the host of a network game, the remote or local player that owns
    // this object; null otherwise.
    const TunPlayer* MirroredOwner() const;
    // Whether object is this one or a mount up its chain.
    bool IsInMountChain(const GameObject* object) const;
    // After a load: takes back the engine entries its ids name, when no one
    // else owns them.
    void ClaimEngineEntries();

    // What a frame's update, its later walks and the transform pass read and
    // write lies first and together (PrefetchState asks for just these
    // lines); the rest after it.
    Core::RefPtr<Engine::TransformationGroup> m_node;
    Vector2D m_position;
    Vector2D m_center;
    float m_rotation = 0.0f;
    float m_zOrder = 0.0f;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_lifeTime = 0.0f;
    float m_age = 0.0f;
    Core::RefPtr<NetObjectID> m_networkId;
    std::vector<GameObject*> m_mounted;
    std::array<const void*, 2> m_renderSyncTarget{};
    float m_opacity = 1.0f;
    Color m_color{1.0f, 1.0f, 1.0f, 1.0f};
    std::uint32_t m_collisionId = 0;
    std::uint32_t m_physicsId = 0;
    bool m_transformSync = true;
    bool m_cleanedUp = false;
    bool m_transformKept = false;
    bool m_scriptActive = false;
    // The last scene-node transformation made, the values it was made from
    // (position, centre, z, rotation, scale) and the cosine and sine of that
    // rotation's matrix (its other elements are constants).
    using TransformInputs = std::array<float, 8>;
    static constexpr std::size_t kRotationInput = 5;
    TransformInputs m_transformInputs{};
    Matrix4 m_transform;
    float m_rotationCos = 1.0f;
    float m_rotationSin = 0.0f;
    LuaScript* m_script = nullptr;
    bool m_destroyed = false;
    bool m_destroyRequested = false;
    bool m_scriptStarted = false;
    bool m_scriptCopied = false;
    std::uint32_t m_id;
    GameObject* m_mount = nullptr;
    Layer* m_layer = nullptr;
    std::vector<Core::Object*> m_managed;
    std::vector<Core::String> m_managedNames;
    LuaScript* m_scriptSource = nullptr;
    Core::String m_scriptName;
    ScriptOrigin m_scriptOrigin = ScriptOrigin::Game;
    Core::File* m_networkStream = nullptr;
    Core::RefPtr<TunComponentManager> m_componentManager;
    Core::String m_name;
    Vector2D m_networkTargetPosition;
    float m_networkTargetRotation = 0.0f;
    bool m_firstNetworkStatePending = false;
    Core::String m_networkClassName{"0"};
    // The engine generation each id was taken in; kNoEntry once removed.
    std::uint64_t m_collisionEpoch;
    std::uint64_t m_physicsEpoch;
};

}  // namespace Tundra
