#include "collision/Collision_CollisionEngine.h"
#include "math/Math_Matrix4.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_ObjectTransform.h"
#include "tundra/Tundra_RunningEngines.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace Tundra {
namespace {

constexpr float kDegreesToRadians = 0.0174532924f;
constexpr float kRadiansToDegrees = 57.29578f;
// Longer mount chains than this cannot be built: Mount refuses cycles.
constexpr int kMaxMountDepth = 1 << 20;


}  // namespace

std::uint32_t GameObject::LiveCollisionId() const {
    return m_collisionId != 0 && m_collisionEpoch == Game::GetCollisionEpoch() && RunningCollisionEngine() != nullptr
               ? m_collisionId
               : 0;
}

std::uint32_t GameObject::LivePhysicsId() const {
    const bool live = m_physicsId != 0 && m_physicsEpoch == Game::GetPhysicsEpoch() && RunningPhysicsEngine() != nullptr;
    return live ? m_physicsId : 0;
}

void GameObject::AdoptCollisionId(std::uint32_t id) {
    m_collisionId = id;
    m_collisionEpoch = id != 0 ? Game::GetCollisionEpoch() : 0;
}

void GameObject::AdoptPhysicsId(std::uint32_t id) {
    m_physicsId = id;
    m_physicsEpoch = id != 0 ? Game::GetPhysicsEpoch() : 0;
}

void GameObject::ClaimEngineEntries() {
    m_collisionEpoch = 0;
    m_physicsEpoch = 0;
    if (Collision2D::CollisionEngine* collision = RunningCollisionEngine()) {
        Collision2D::DynamicObject* object = collision->GetCollisionResults(m_collisionId);
        if (object != nullptr && (object->GetOwner() == nullptr || object->GetOwner() == this)) {
            object->SetOwner(this);
            m_collisionEpoch = Game::GetCollisionEpoch();
        }
    }
    if (Physics2D::PhysicsEngine* physics = RunningPhysicsEngine()) {
        Physics2D::RigidBody* body = physics->GetRigidBody(m_physicsId);
        if (body != nullptr && (body->GetUserData() == nullptr || body->GetUserData() == this)) {
            body->SetUserData(this);
            body->SetTransformCallback(&OnRigidBodyTransform);
            body->SetOldTransformCallback(&OnRigidBodyOldTransform);
            m_physicsEpoch = Game::GetPhysicsEpoch();
        }
    }
}

void GameObject::UpdateTransformation() {
    if (!m_transformSync) {
        return;
    }
    // An object is placed several times a frame (moved, turned, then the
    // transform pass) mostly from the same values: bit for bit the same
    // values give the same matrix, kept from the last time.
    const TransformInputs inputs{m_position.x, m_position.y, m_center.x, m_center.y,
                                 m_zOrder,     m_rotation,   m_scaleX,   m_scaleY};
    if (!m_transformKept || std::memcmp(&inputs, &m_transformInputs, sizeof inputs) != 0) {
        // Moved without turning, the rotation is the kept one.
        if (!m_transformKept || std::memcmp(&m_rotation, &m_transformInputs[kRotationInput], sizeof m_rotation) != 0) {
            Matrix4 rotation;
            Matrix4::MakeRotationZ(rotation, m_rotation);
            m_rotationCos = rotation[0];
            m_rotationSin = rotation[1];
        }
        m_transform = ComposeObjectTransform(
            {m_position.x, m_position.y, m_center.x, m_center.y, m_zOrder, m_scaleX, m_scaleY}, m_rotationCos,
            m_rotationSin);
        m_transformInputs = inputs;
        m_transformKept = true;
    }
    m_node->SetTransformation(m_transform);
}

void GameObject::PrefetchState(WalkReads reads) const {
    // The leading fields up to the script pointer, whatever line the object
    // starts in, and the first lines of a derived class's own fields (a
    // sprite's node, and what a game's class adds after it). A prefetch past
    // an object's end is harmless.
    constexpr std::size_t kLine = 64;
    const auto* bytes = reinterpret_cast<const char*>(this);
    const std::size_t hotEnd = static_cast<std::size_t>(reinterpret_cast<const char*>(&m_script + 1) - bytes);
    for (std::size_t offset = 0; offset < hotEnd; offset += kLine) {
        __builtin_prefetch(bytes + offset);
    }
    __builtin_prefetch(bytes + hotEnd - 1);
    if (reads != WalkReads::Everything) {
        return;
    }
    for (std::size_t offset = sizeof(GameObject); offset < sizeof(GameObject) + 3 * kLine; offset += kLine) {
        __builtin_prefetch(bytes + offset);
    }
}

void GameObject::PrefetchNode(WalkReads reads) const {
    if (reads == WalkReads::LeadingFields) {
        return;
    }
    // Both lines the matrix may straddle, and those RenderSync writes into.
    const Matrix4& transformation = m_node->GetTransformation();
    __builtin_prefetch(&transformation.m.front(), 1);
    __builtin_prefetch(&transformation.m.back(), 1);
    if (reads == WalkReads::Everything && m_renderSyncTarget[0] != nullptr) {
        __builtin_prefetch(m_renderSyncTarget[0], 1);
        __builtin_prefetch(m_renderSyncTarget[1], 1);
    }
}

void GameObject::SetPosition(const Vector2D& position) {
    const Vector2D delta = position - m_position;
    m_position = position;
    if (const std::uint32_t id = LiveCollisionId()) {
        RunningCollisionEngine()->SetObjectPosition(id, position);
    }
    if (const std::uint32_t id = LivePhysicsId()) {
        RunningPhysicsEngine()->SetRigidBodyPosition(id, position);
    }
    ForEachMounted([this, &delta](GameObject& child) { child.MoveWithMount(m_position, delta, 0.0f); });
    UpdateTransformation();
}

void GameObject::SetOldPosition(const Vector2D& position) {
    const Vector2D delta = position - m_position;
    m_position = position;
    if (const std::uint32_t id = LiveCollisionId()) {
        RunningCollisionEngine()->SetObjectOldPosition(id, position);
    }
    if (const std::uint32_t id = LivePhysicsId()) {
        RunningPhysicsEngine()->SetRigidBodyPosition(id, position);
    }
    ForEachMounted([this, &delta](GameObject& child) { child.MoveWithMount(m_position, delta, 0.0f); });
    UpdateTransformation();
}

void GameObject::SetRotationAngle(float degrees) {
    const float change = degrees - m_rotation;
    m_rotation = degrees;
    if (const std::uint32_t id = LiveCollisionId()) {
        RunningCollisionEngine()->SetObjectOrientation(id, degrees);
    }
    if (const std::uint32_t id = LivePhysicsId()) {
        RunningPhysicsEngine()->SetRigidBodyOrientation(id, degrees);
    }
    ForEachMounted([this, change](GameObject& child) { child.MoveWithMount(m_position, {0.0f, 0.0f}, change); });
    UpdateTransformation();
}

void GameObject::SetOldRotationAngle(float degrees) {
    const float change = degrees - m_rotation;
    m_rotation = degrees;
    if (const std::uint32_t id = LiveCollisionId()) {
        RunningCollisionEngine()->SetObjectOldOrientation(id, degrees);
    }
    if (const std::uint32_t id = LivePhysicsId()) {
        RunningPhysicsEngine()->SetRigidBodyOrientation(id, degrees);
    }
    ForEachMounted([this, change](GameObject& child) { child.MoveWithMount(m_position, {0.0f, 0.0f}, change); });
    UpdateTransformation();
}

void GameObject::SetDirectionX(float x) {
    SetRotationAngle(std::atan2(std::sin(m_rotation * kDegreesToRadians), x) * kRadiansToDegrees);
}

void GameObject::SetDirectionY(float y) {
    SetRotationAngle(std::atan2(y, std::cos(m_rotation * kDegreesToRadians)) * kRadiansToDegrees);
}

void GameObject::SetDirection(const Vector2D& direction) {
    SetRotationAngle(std::atan2(direction.y, direction.x) * kRadiansToDegrees);
}

Vector2D GameObject::GetDirection() const {
    return {std::cos(m_rotation * kDegreesToRadians), std::sin(m_rotation * kDegreesToRadians)};
}

void GameObject::MoveWithMount(const Vector2D& pivot, const Vector2D& delta, float change) {
    if (change != 0.0f) {
        const Matrix4 turn = Matrix4::Translation(pivot.x, pivot.y, 0.0f) * Matrix4::RotationZ(change) *
                             Matrix4::Translation(-pivot.x, -pivot.y, 0.0f);
        const Vector3D turned = Matrix4::TransformPoint(turn, {m_position.x, m_position.y, 0.0f});
        m_position = {turned.x, turned.y};
        m_rotation += change;
        if (const std::uint32_t id = LiveCollisionId()) {
            RunningCollisionEngine()->SetObjectOrientation(id, m_rotation);
        }
        if (const std::uint32_t id = LivePhysicsId()) {
            RunningPhysicsEngine()->SetRigidBodyOrientation(id, m_rotation);
        }
    }
    m_position = m_position + delta;
    if (const std::uint32_t id = LiveCollisionId()) {
        RunningCollisionEngine()->SetObjectPosition(id, m_position);
    }
    if (const std::uint32_t id = LivePhysicsId()) {
        RunningPhysicsEngine()->SetRigidBodyPosition(id, m_position);
    }
    UpdateTransformation();
}

void GameObject::WalkMounted(const std::function<void(GameObject&)>& action) const {
    // Depth first, below the direct mounts on a list of its own (only then
    // allocated): a mount chain read from a stream may be longer than the
    // call stack allows. Mount refuses cycles.
    std::vector<GameObject*> pending;
    for (GameObject* child : m_mounted) {
        action(*child);
        pending.assign(child->m_mounted.rbegin(), child->m_mounted.rend());
        while (!pending.empty()) {
            GameObject* object = pending.back();
            pending.pop_back();
            action(*object);
            pending.insert(pending.end(), object->m_mounted.rbegin(), object->m_mounted.rend());
        }
    }
}

void GameObject::SetCenter(const Vector2D& center) {
    m_center = center;
    if (const std::uint32_t id = LiveCollisionId()) {
        RunningCollisionEngine()->SetObjectOffset(id, center);
    }
    if (const std::uint32_t id = LivePhysicsId()) {
        Physics2D::MassProperties mass;
        RunningPhysicsEngine()->GetMassProperties(id, mass);
        mass.SetCenterOfMass(center);
        RunningPhysicsEngine()->SetMassProperties(id, mass);
    }
    UpdateTransformation();
}

void GameObject::SetScale(float x, float y) {
    m_scaleX = x;
    m_scaleY = y;
    UpdateTransformation();
}

bool GameObject::IsInMountChain(const GameObject* object) const {
    const GameObject* link = this;
    for (int depth = 0; link != nullptr && depth < kMaxMountDepth; ++depth, link = link->m_mount) {
        if (link == object) {
            return true;
        }
    }
    return false;
}

void GameObject::Mount(GameObject* child) {
    if (child == nullptr || IsInMountChain(child)) {
        return;
    }
    // An object follows one mount: an entry left on an earlier mount would
    // outlive the child.
    if (child->m_mount != nullptr && child->m_mount != this) {
        std::erase(child->m_mount->m_mounted, child);
    }
    m_mounted.push_back(child);
    child->m_mount = this;
}

void GameObject::UnMount(GameObject* child) {
    if (child == nullptr || child == this) {
        return;
    }
    const auto found = std::find(m_mounted.begin(), m_mounted.end(), child);
    if (found == m_mounted.end()) {
        return;
    }
    m_mounted.erase(found);
    // A child mounted twice still follows through its other entry.
    if (std::find(m_mounted.begin(), m_mounted.end(), child) == m_mounted.end()) {
        child->m_mount = nullptr;
    }
}

GameObject* GameObject::GetMountAt(int i) const {
    return i >= 0 && i < GetMountsCount() ? m_mounted[static_cast<std::size_t>(i)] : nullptr;
}

bool GameObject::AddCollision(Collision2D::DynamicObject* object, std::uint8_t collisionLayer) {
    Collision2D::CollisionEngine* collision = RunningCollisionEngine();
    if (object == nullptr) {
        return false;
    }
    // Cleanup runs once: an entry taken after it would outlive the object.
    if (collision == nullptr || m_cleanedUp) {
        delete object;
        return false;
    }
    RemoveCollision();
    object->SetOwner(this);
    AdoptCollisionId(collision->AddObject(object, collisionLayer, m_position));
    return m_collisionId != 0;
}

void GameObject::RemoveCollision() {
    if (const std::uint32_t id = LiveCollisionId()) {
        RunningCollisionEngine()->RemoveObject(id);
    }
    m_collisionEpoch = 0;
}

Collision2D::DynamicObject* GameObject::GetCollisionObject() const {
    const std::uint32_t id = LiveCollisionId();
    return id != 0 ? RunningCollisionEngine()->GetCollisionResults(id) : nullptr;
}

bool GameObject::ObjectInCollision() const {
    const Collision2D::DynamicObject* object = GetCollisionObject();
    return object != nullptr &&
           (object->GetCircleCollisions().Count() != 0 || object->GetLineSegmentCollisions().Count() != 0 ||
            object->GetTileMapCollisionCount() != 0 || object->GetBoundingRectangleCollisions().Count() != 0 ||
            object->GetShapeCollisions().Count() != 0);
}

bool GameObject::AddPhysicalProperties(const Physics2D::MassProperties* mass, int solverKind) {
    Physics2D::PhysicsEngine* physics = RunningPhysicsEngine();
    if (mass == nullptr || physics == nullptr || LivePhysicsId() != 0 || m_cleanedUp) {
        return false;
    }
    const Core::RefPtr<Physics2D::RigidBody> body =
        TUN_NEW(Physics2D::RigidBody, *mass, solverKind, &OnRigidBodyTransform, &OnRigidBodyOldTransform, this);
    body->SetPosition(m_position);
    body->SetOrientation(m_rotation);
    AdoptPhysicsId(physics->AddRigidBody(body.Get()));
    return m_physicsId != 0;
}

bool GameObject::RemovePhysicalProperties() {
    if (RunningPhysicsEngine() == nullptr || m_physicsId == 0) {
        return false;
    }
    if (const std::uint32_t id = LivePhysicsId()) {
        // The engine may hold the body across this object's end (a callback
        // dropping the last reference): its callbacks then find no owner.
        RunningPhysicsEngine()->GetRigidBody(id)->SetUserData(nullptr);
        RunningPhysicsEngine()->RemoveRigidBody(id);
    }
    AdoptPhysicsId(0);
    return true;
}

void GameObject::SetVelocity(const Vector2D& velocity) {
    if (const std::uint32_t id = LivePhysicsId()) {
        RunningPhysicsEngine()->SetRigidBodyVelocity(id, velocity);
    }
}

bool GameObject::GetVelocity(Vector2D& velocity) const {
    const std::uint32_t id = LivePhysicsId();
    return id != 0 && RunningPhysicsEngine()->GetRigidBodyVelocity(id, velocity);
}

void GameObject::SetAngularVelocity(float degreesPerSecond) {
    if (const std::uint32_t id = LivePhysicsId()) {
        RunningPhysicsEngine()->SetRigidBodyAngularVelocity(id, degreesPerSecond);
    }
}

bool GameObject::GetAngularVelocity(float& degreesPerSecond) const {
    const std::uint32_t id = LivePhysicsId();
    return id != 0 && RunningPhysicsEngine()->GetRigidBodyAngularVelocity(id, degreesPerSecond);
}

void GameObject::RemoveAllForces() {
    if (const std::uint32_t id = LivePhysicsId()) {
        RunningPhysicsEngine()->RemoveAllRigidBodyForces(id);
    }
}

void GameObject::AddForce(Physics2D::Force* force) {
    // Held for the call, so that a new force nobody takes is freed.
    const Core::RefPtr<Physics2D::Force> held = force;
    if (const std::uint32_t id = LivePhysicsId(); id != 0 && force != nullptr) {
        RunningPhysicsEngine()->AddRigidBodyForce(id, force);
    }
}

bool GameObject::RemoveForce(std::uint32_t i) {
    const std::uint32_t id = LivePhysicsId();
    return id != 0 && RunningPhysicsEngine()->RemoveRigidBodyForce(id, i);
}

bool GameObject::GetMassProperties(Physics2D::MassProperties& mass) const {
    const std::uint32_t id = LivePhysicsId();
    return id != 0 && RunningPhysicsEngine()->GetMassProperties(id, mass);
}

void GameObject::SetMassProperties(const Physics2D::MassProperties& mass) {
    if (const std::uint32_t id = LivePhysicsId()) {
        RunningPhysicsEngine()->SetMassProperties(id, mass);
    }
}

bool GameObject::GetCenterOfMass(Vector2D& center) const {
    const std::uint32_t id = LivePhysicsId();
    return id != 0 && RunningPhysicsEngine()->GetRigidBodyCenterOfMass(id, center);
}

bool GameObject::SetSpeed(float speed) {
    Vector2D velocity;
    if (!GetVelocity(velocity)) {
        return false;
    }
    velocity.Normalize();
    SetVelocity(velocity * speed);
    return true;
}

bool GameObject::SetVelocityDirection(float x, float y) {
    Vector2D velocity;
    if (!GetVelocity(velocity)) {
        return false;
    }
    Vector2D direction(x, y);
    direction.Normalize();
    SetVelocity(direction * velocity.Length());
    return true;
}

void GameObject::OnRigidBodyTransform(Physics2D::RigidBody* body, Core::Object* owner) {
    if (auto* object = dynamic_cast<GameObject*>(owner); object != nullptr && body != nullptr) {
        object->SetPosition(body->GetPosition());
        object->SetRotationAngle(body->GetOrientation());
    }
}

void GameObject::OnRigidBodyOldTransform(Physics2D::RigidBody* body, Core::Object* owner) {
    if (auto* object = dynamic_cast<GameObject*>(owner); object != nullptr && body != nullptr) {
        object->SetOldPosition(body->GetPosition());
        object->SetOldRotationAngle(body->GetOrientation());
    }
}

void GameObject::AttachRigidBodyCallbacks(const std::vector<Physics2D::RigidBody*>& bodies) {
    for (Physics2D::RigidBody* body : bodies) {
        if (body != nullptr) {
            body->SetTransformCallback(&OnRigidBodyTransform);
            body->SetOldTransformCallback(&OnRigidBodyOldTransform);
        }
    }
}

}  // namespace Tundra
