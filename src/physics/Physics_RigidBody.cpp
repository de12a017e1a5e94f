#include "physics/Physics_RigidBody.h"

#include "math/Math_Matrix3.h"
#include "physics/Physics_Finite.h"

#include <cmath>

namespace Physics2D {

RigidBody::RigidBody() : m_solver(CreateSolver(IntegrationKind::Euler)) {}

RigidBody::RigidBody(const MassProperties& mass, int solverKind, TransformCallback transform,
                     TransformCallback oldTransform, Core::Object* owner)
    : m_mass(mass),
      m_solver(CreateSolver(IntegrationKindFromCode(solverKind))),
      m_transform(transform),
      m_oldTransform(oldTransform),
      m_owner(owner) {}

RigidBody::RigidBody(const RigidBody& other)
    : Core::Object(other),
      m_mass(other.m_mass),
      m_solver(other.m_solver),
      m_state(other.m_state),
      m_transform(other.m_transform),
      m_oldTransform(other.m_oldTransform),
      m_owner(other.m_owner) {
    m_forces.reserve(other.m_forces.size());
    for (const auto& force : other.m_forces) {
        m_forces.emplace_back(static_cast<Force*>(force->Clone()));
    }
}

void RigidBody::SetPosition(const Vector2D& position) {
    if (IsFinite(position)) m_state.position = position;
}

void RigidBody::SetOrientation(float degrees) {
    if (std::isfinite(degrees)) m_state.orientation = degrees;
}

void RigidBody::SetVelocity(const Vector2D& velocity) {
    if (IsFinite(velocity)) m_state.velocity = velocity;
}

void RigidBody::SetAngularVelocity(float degreesPerSecond) {
    if (std::isfinite(degreesPerSecond)) m_state.angularVelocity = degreesPerSecond;
}

Vector2D RigidBody::GetWorldCenterOfMass() const {
    return m_state.position +
           Matrix3::TransformPointBottomRow(Matrix3::Rotation(m_state.orientation), m_mass.GetCenterOfMass());
}

void RigidBody::AddForce(Force* force) {
    // Held for the call, so that a new force refused is freed.
    const Core::RefPtr<Force> held(force);
    if (force != nullptr && force->HasFiniteParameters()) m_forces.push_back(held);
}

bool RigidBody::RemoveForce(std::uint32_t i) {
    if (i >= m_forces.size()) return false;
    m_forces.erase(m_forces.begin() + i);
    return true;
}

BodyRate RigidBody::RateAt(const BodyState& state, float scale) const {
    // An infinitely heavy body is not accelerated: its forces are not even
    // asked, since one proportional to the mass would give infinity x 0.
    Vector2D total;
    if (m_mass.GetInverseMass() != 0.0f) {
        for (const auto& force : m_forces) {
            total += force->Evaluate(state, m_mass);
        }
    }
    return {state.velocity * scale, state.angularVelocity, total * m_mass.GetInverseMass(), 0.0f};
}

void RigidBody::Integrate(float h, float scale) {
    if (m_solver == nullptr) return;
    const BodyState next =
        m_solver->Step(m_state, h, [this, scale](const BodyState& state) { return RateAt(state, scale); });
    // A step that overflows (a huge force on a light body, drag too stiff
    // for the step) is not taken, so that the body stays finite.
    if (IsFinite(next)) m_state = next;
}

void RigidBody::MoveAndNotify(const Vector2D& offset) {
    NotifyBeforeMove();
    // A move that would overflow is not made.
    const Vector2D moved = m_state.position + offset;
    if (IsFinite(moved)) m_state.position = moved;
    NotifyAfterMove();
}

void RigidBody::Save(Core::File& file) const {
    m_mass.Save(file);
    file << m_solver;
    file << m_state.position;
    file.WriteF32(m_state.orientation);
    file << m_state.velocity;
    file.WriteF32(m_state.angularVelocity);
    file.WriteU32(static_cast<std::uint32_t>(m_forces.size()));
    for (const auto& force : m_forces) {
        file << force;
    }
}

void RigidBody::Load(Core::File& file) {
    MassProperties mass = m_mass;
    Core::RefPtr<ODESolver> solver = m_solver;
    BodyState state = m_state;
    mass.Load(file);
    file >> solver;
    ReadFinite(file, state.position);
    ReadFinite(file, state.orientation);
    ReadFinite(file, state.velocity);
    ReadFinite(file, state.angularVelocity);
    std::uint32_t count = 0;
    file.ReadU32(count);
    std::vector<Core::RefPtr<Force>> forces;
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::RefPtr<Force> force;
        file >> force;
        if (force == nullptr) file.SetFailed();
        forces.push_back(std::move(force));
    }
    if (file.HasFailed()) return;
    m_mass = mass;
    m_solver = std::move(solver);
    m_state = state;
    m_forces = std::move(forces);
}

}  // namespace Physics2D

TUN_DEFINE_CLASS(Physics2D::RigidBody)
