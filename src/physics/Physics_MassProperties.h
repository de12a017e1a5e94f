#pragma once

#include "math/Math_Vector2D.h"

namespace Physics2D {

// Mass, rotational inertia and the body-local centre of mass, with the
// inverses the solver multiplies by. A value that is 0, negative or not
// finite has inverse 0: the body is infinitely heavy for forces and
// contacts, yet still moves by its own velocity (shots have mass 0 and fly).
// A value that is not finite is kept as 0, so that every stored value is
// finite; so is a centre of mass that is not finite, which is kept at the
// origin or, when set, ignored.
class MassProperties {
public:
    MassProperties(float mass = 0.0f, float inertia = 0.0f, const Vector2D& centerOfMass = {});

    float GetMass() const { return m_mass; }
    float GetInertia() const { return m_inertia; }
    float GetInverseMass() const { return m_inverseMass; }
    float GetInverseInertia() const { return m_inverseInertia; }
    const Vector2D& GetCenterOfMass() const { return m_centerOfMass; }
    void SetCenterOfMass(const Vector2D& centerOfMass);

    void Save(Core::File& file) const;
    // Reads mass, inertia and centre of mass; the inverses are derived again.
    // A value that is not finite fails the stream and changes nothing.
    void Load(Core::File& file);

private:
    float m_mass;
    float m_inertia;
    float m_inverseMass;
    float m_inverseInertia;
    Vector2D m_centerOfMass;
};

}  // namespace Physics2D
