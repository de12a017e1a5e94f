#include "physics/Physics_Force.h"

#include "physics/Physics_Finite.h"

#include <cmath>

namespace Physics2D {

GravityForce::GravityForce(const Vector2D& direction, float strength)
    : m_direction(Vector2D::Normalized(direction)), m_strength(strength) {}

Vector2D GravityForce::Evaluate(const BodyState&, const MassProperties& mass) const {
    return m_direction * (mass.GetMass() * m_strength);
}

bool GravityForce::HasFiniteParameters() const { return IsFinite(m_direction) && std::isfinite(m_strength); }

void GravityForce::Save(Core::File& file) const {
    file << m_direction;
    file.WriteF32(m_strength);
}

void GravityForce::Load(Core::File& file) {
    Vector2D direction = m_direction;
    float strength = m_strength;
    ReadFinite(file, direction);
    ReadFinite(file, strength);
    if (file.HasFailed()) return;
    m_direction = Vector2D::Normalized(direction);
    m_strength = strength;
}

ConstantForce::ConstantForce(const Vector2D& force) : m_force(force) {}

Vector2D ConstantForce::Evaluate(const BodyState&, const MassProperties&) const { return m_force; }

bool ConstantForce::HasFiniteParameters() const { return IsFinite(m_force); }

void ConstantForce::Save(Core::File& file) const { file << m_force; }

void ConstantForce::Load(Core::File& file) {
    Vector2D force = m_force;
    ReadFinite(file, force);
    if (!file.HasFailed()) m_force = force;
}

DragForce::DragForce(float coefficient) : m_coefficient(coefficient) {}

Vector2D DragForce::Evaluate(const BodyState& state, const MassProperties&) const {
    return state.velocity * -m_coefficient;
}

bool DragForce::HasFiniteParameters() const { return std::isfinite(m_coefficient); }

void DragForce::Save(Core::File& file) const { file.WriteF32(m_coefficient); }

void DragForce::Load(Core::File& file) {
    float coefficient = m_coefficient;
    ReadFinite(file, coefficient);
    if (!file.HasFailed()) m_coefficient = coefficient;
}

}  // namespace Physics2D

TUN_DEFINE_CLASS(Physics2D::GravityForce)
TUN_DEFINE_CLASS(Physics2D::ConstantForce)
TUN_DEFINE_CLASS(Physics2D::DragForce)
