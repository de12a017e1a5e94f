#include "physics/Physics_MassProperties.h"

#include "physics/Physics_Finite.h"

#include <cmath>

namespace Physics2D {

namespace {

// Not finite: 0, which means the same (no inverse) and is always stored.
float FiniteOrZero(float value) { return std::isfinite(value) ? value : 0.0f; }

float InverseOf(float value) { return value > 0.0f ? 1.0f / value : 0.0f; }

}  // namespace

MassProperties::MassProperties(float mass, float inertia, const Vector2D& centerOfMass)
    : m_mass(FiniteOrZero(mass)),
      m_inertia(FiniteOrZero(inertia)),
      m_inverseMass(InverseOf(m_mass)),
      m_inverseInertia(InverseOf(m_inertia)),
      m_centerOfMass(IsFinite(centerOfMass) ? centerOfMass : Vector2D{}) {}

void MassProperties::SetCenterOfMass(const Vector2D& centerOfMass) {
    if (IsFinite(centerOfMass)) m_centerOfMass = centerOfMass;
}

void MassProperties::Save(Core::File& file) const {
    file.WriteF32(m_mass);
    file.WriteF32(m_inertia);
    file << m_centerOfMass;
}

void MassProperties::Load(Core::File& file) {
    float mass = m_mass;
    float inertia = m_inertia;
    Vector2D centerOfMass = m_centerOfMass;
    ReadFinite(file, mass);
    ReadFinite(file, inertia);
    ReadFinite(file, centerOfMass);
    if (!file.HasFailed()) *this = MassProperties(mass, inertia, centerOfMass);
}

}  // namespace Physics2D
