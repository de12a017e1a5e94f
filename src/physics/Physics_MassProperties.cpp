#include "physics/Physics_MassProperties.h"

#include <cmath>

namespace Physics2D {

namespace {

float InverseOf(float value) { return std::isfinite(value) && value > 0.0f ? 1.0f / value : 0.0f; }

}  // namespace

MassProperties::MassProperties(float mass, float inertia, const Vector2D& centerOfMass)
    : m_mass(mass),
      m_inertia(inertia),
      m_inverseMass(InverseOf(mass)),
      m_inverseInertia(InverseOf(inertia)),
      m_centerOfMass(centerOfMass) {}

void MassProperties::Save(Core::File& file) const {
    file.WriteF32(m_mass);
    file.WriteF32(m_inertia);
    file << m_centerOfMass;
}

void MassProperties::Load(Core::File& file) {
    float mass = m_mass;
    float inertia = m_inertia;
    Vector2D centerOfMass = m_centerOfMass;
    file.ReadF32(mass);
    file.ReadF32(inertia);
    file >> centerOfMass;
    *this = MassProperties(mass, inertia, centerOfMass);
}

}  // namespace Physics2D
