#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "physics/Physics_BodyState.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_ODESolver.h"

#include <cstdint>
#include <vector>

namespace Physics2D {

class RigidBody;

// Tells the owner (a game object) about its body's pose. Neither the
// callbacks nor the owner are ever written to a stream: whoever loads a
// body sets them again.
using TransformCallback = void (*)(RigidBody* body, Core::Object* owner);

// A body of the physics engine: mass properties, an integrator (none for
// kind 3: the body never moves by itself), pose, velocities and the forces
// it owns.
class RigidBody : public Core::Object {
    TUN_DECLARE_CLASS(RigidBody);
    RigidBody();
    // solverKind: 1 Heun, 2 Runge-Kutta, 3 none, any other value Euler.
    RigidBody(const MassProperties& mass, int solverKind, TransformCallback transform,
              TransformCallback oldTransform, Core::Object* owner);
    // The copy owns copies of the forces and shares the (stateless) integrator.
    RigidBody(const RigidBody& other);
    RigidBody& operator=(const RigidBody&) = delete;

    // Non-finite values are ignored.
    void SetPosition(const Vector2D& position);
    const Vector2D& GetPosition() const { return m_state.position; }
    void SetOrientation(float degrees);
    float GetOrientation() const { return m_state.orientation; }
    void SetVelocity(const Vector2D& velocity);
    const Vector2D& GetVelocity() const { return m_state.velocity; }
    void SetAngularVelocity(float degreesPerSecond);
    float GetAngularVelocity() const { return m_state.angularVelocity; }
    const BodyState& GetState() const { return m_state; }

    const MassProperties& GetMassProperties() const { return m_mass; }
    void SetMassProperties(const MassProperties& mass) { m_mass = mass; }
    // The centre of mass in world coordinates.
    Vector2D GetWorldCenterOfMass() const;

    void SetUserData(Core::Object* owner) { m_owner = owner; }
    Core::Object* GetUserData() const { return m_owner; }
    void SetTransformCallback(TransformCallback callback) { m_transform = callback; }
    void SetOldTransformCallback(TransformCallback callback) { m_oldTransform = callback; }
    TransformCallback GetTransformCallback() const { return m_transform; }
    TransformCallback GetOldTransformCallback() const { return m_oldTransform; }

    // The body takes a reference; null and a force whose parameters are not
    // finite are refused (a new one is then freed).
    void AddForce(Force* force);
    // i counts from 0; false when there is no such force.
    bool RemoveForce(std::uint32_t i);
    void RemoveAllForces() { m_forces.clear(); }
    std::uint32_t GetForceCount() const { return static_cast<std::uint32_t>(m_forces.size()); }

    bool CanMove() const { return m_solver != nullptr; }
    // One integration step of h seconds at the given scale. Calls no
    // callback. A step whose result is not finite leaves the body as it was.
    void Integrate(float h, float scale);
    // Moves the body by an offset and tells the owner: the old-transform
    // callback with the pose left, then the transform callback. An offset
    // that would make the position non-finite is not applied.
    void MoveAndNotify(const Vector2D& offset);
    // The two callbacks around a change the caller makes.
    void NotifyBeforeMove() { Notify(m_oldTransform); }
    void NotifyAfterMove() { Notify(m_transform); }

    void Save(Core::File& file) const override;
    // All or nothing: a value that is not finite fails the stream.
    void Load(Core::File& file) override;

private:
    void Notify(TransformCallback callback) { if (callback != nullptr) callback(this, m_owner); }
    BodyRate RateAt(const BodyState& state, float scale) const;

    MassProperties m_mass;
    Core::RefPtr<ODESolver> m_solver;
    BodyState m_state;
    std::vector<Core::RefPtr<Force>> m_forces;
    TransformCallback m_transform = nullptr;
    TransformCallback m_oldTransform = nullptr;
    Core::Object* m_owner = nullptr;
};

}  // namespace Physics2D
