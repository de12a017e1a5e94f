#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "physics/Physics_ContactSolver.h"
#include "physics/Physics_Joint.h"
#include "physics/Physics_RigidBody.h"

#include <cstdint>
#include <vector>

namespace Physics2D {

class PhysicsEngine;

// Called once per PostCollisionUpdate, before the solve: the place where
// the game turns collision results into contacts with AddContact.
using ContactListCallback = void (*)(PhysicsEngine* engine, void* data);

// The rigid-body world. Bodies are addressed by one-based index (0 names
// no body and, in contacts, the world); removed bodies leave holes that
// later additions fill lowest first.
//
// A frame is Update (integrate every body by at most the largest step),
// then, after the collision pass, PostCollisionUpdate (the contact-list
// callback adds this frame's contacts, which are merged and solved, then
// dropped). Owners hear of every move through their body's callbacks: the
// old-transform callback just before, with the pose the body leaves, and the
// transform callback just after. The by-index setters call neither.
//
// Non-finite arguments are ignored; a bad index does nothing and getters
// answer false.
class PhysicsEngine : public Core::Object {
    TUN_DECLARE_CLASS(PhysicsEngine);
    static constexpr float kDefaultMaximumStep = 0.02f;
    static constexpr std::int32_t kMaxAccuracy = 10000;

    PhysicsEngine() = default;
    // Copies every body and joint (the copies are the new engine's own), the
    // pending contacts and the remembered impulses: the copy continues
    // exactly as the original would.
    PhysicsEngine(const PhysicsEngine& other);
    PhysicsEngine& operator=(const PhysicsEngine&) = delete;

    void Update(float dt);
    void PostCollisionUpdate(float dt);
    // Removes every body, joint, contact and remembered impulse; settings and
    // the callback stay.
    void Reset();

    void SetContactListUpdate(ContactListCallback callback) { m_contactCallback = callback; }
    ContactListCallback GetContactListUpdate() const { return m_contactCallback; }
    void SetContactListUpdateData(void* data) { m_contactCallbackData = data; }
    void* GetContactListUpdateData() const { return m_contactCallbackData; }

    // World units moved per physics unit of velocity per second; refused
    // unless finite and above 0.
    void SetScale(float scale);
    float GetScale() const { return m_scale; }
    // Velocity iterations of the solver, kept within 1..kMaxAccuracy.
    void SetAccuracy(std::int32_t iterations);
    std::int32_t GetAccuracy() const { return m_accuracy; }
    void SetMaximumSimulationStep(float seconds);
    float GetMaximumSimulationStep() const { return m_maximumStep; }

    // The engine takes a reference; null gives 0, a body already listed its index.
    std::uint32_t AddRigidBody(RigidBody* body);
    // Also drops this frame's pending contacts and the remembered impulses
    // that name the body.
    void RemoveRigidBody(std::uint32_t index);
    // 0 when there is no such body.
    std::uint32_t CloneRigidBody(std::uint32_t index, Core::Object* owner);
    std::uint32_t GetRigidBodyCount() const { return static_cast<std::uint32_t>(m_bodies.size()); }
    // Null for a hole or a bad index.
    RigidBody* GetRigidBody(std::uint32_t index) const;

    void SetRigidBodyPosition(std::uint32_t index, const Vector2D& position);
    void SetRigidBodyOrientation(std::uint32_t index, float degrees);
    void SetRigidBodyVelocity(std::uint32_t index, const Vector2D& velocity);
    bool GetRigidBodyVelocity(std::uint32_t index, Vector2D& velocity) const;
    void SetRigidBodyAngularVelocity(std::uint32_t index, float degreesPerSecond);
    bool GetRigidBodyAngularVelocity(std::uint32_t index, float& degreesPerSecond) const;
    void RemoveAllRigidBodyForces(std::uint32_t index);
    // The body takes a reference; a new force refused for a bad index is freed.
    void AddRigidBodyForce(std::uint32_t index, Force* force);
    // i counts from 0.
    bool RemoveRigidBodyForce(std::uint32_t index, std::uint32_t i);
    bool GetMassProperties(std::uint32_t index, MassProperties& mass) const;
    void SetMassProperties(std::uint32_t index, const MassProperties& mass);
    // The centre of mass in world coordinates.
    bool GetRigidBodyCenterOfMass(std::uint32_t index, Vector2D& center) const;

    // Copies the contact into this frame's list. An empty or bad bodyA or a
    // value that is not finite drops it; an empty or bad bodyB makes it a
    // contact with the world.
    void AddContact(std::uint32_t bodyA, std::uint32_t bodyB, const Contact& contact);
    std::uint32_t GetContactCount() const { return static_cast<std::uint32_t>(m_contacts.size()); }
    // This frame's contact i (from 0) as added; null past the end.
    const ContactEntry* GetContact(std::uint32_t i) const { return i < m_contacts.size() ? &m_contacts[i] : nullptr; }

    // The engine takes a reference; null or an anchor that is not finite
    // gives 0 (a new joint refused is freed). One-based.
    std::uint32_t AddJoint(Joint* joint);
    std::uint32_t GetJointCount() const { return static_cast<std::uint32_t>(m_joints.size()); }

    // Settings, bodies (holes as null references), joints, contacts and the
    // impulses the next solve starts from.
    // Callbacks, their data and the bodies' owners are never written.
    void Save(Core::File& file) const override;
    // All or nothing: a stream that fails, names the wrong class, holds a
    // setting out of range, a value that is not finite or one body at two
    // indices leaves the engine as it was.
    void Load(Core::File& file) override;

private:
    bool IsUsable(std::uint32_t index) const { return GetRigidBody(index) != nullptr; }

    float m_scale = 1.0f;
    std::int32_t m_accuracy = 10;
    float m_maximumStep = kDefaultMaximumStep;
    ContactListCallback m_contactCallback = nullptr;
    void* m_contactCallbackData = nullptr;
    BodyList m_bodies;
    std::vector<Core::RefPtr<Joint>> m_joints;
    std::vector<ContactEntry> m_contacts;
    ContactSolver m_solver;
};

}  // namespace Physics2D
