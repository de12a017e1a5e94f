#include "physics/Physics_Joint.h"

#include "physics/Physics_Finite.h"

namespace Physics2D {

Joint::Joint(std::uint32_t bodyA, std::uint32_t bodyB, const Vector2D& anchorA, const Vector2D& anchorB)
    : m_bodyA(bodyA), m_bodyB(bodyB), m_anchorA(anchorA), m_anchorB(anchorB) {}

void Joint::Save(Core::File& file) const {
    file.WriteU32(m_bodyA);
    file.WriteU32(m_bodyB);
    file << m_anchorA << m_anchorB;
}

bool Joint::HasFiniteAnchors() const { return IsFinite(m_anchorA) && IsFinite(m_anchorB); }

void Joint::Load(Core::File& file) {
    std::uint32_t bodyA = m_bodyA;
    std::uint32_t bodyB = m_bodyB;
    Vector2D anchorA = m_anchorA;
    Vector2D anchorB = m_anchorB;
    file.ReadU32(bodyA);
    file.ReadU32(bodyB);
    ReadFinite(file, anchorA);
    ReadFinite(file, anchorB);
    if (file.HasFailed()) return;
    m_bodyA = bodyA;
    m_bodyB = bodyB;
    m_anchorA = anchorA;
    m_anchorB = anchorB;
}

}  // namespace Physics2D

TUN_DEFINE_CLASS(Physics2D::JointNail)
TUN_DEFINE_CLASS(Physics2D::JointHinge)
TUN_DEFINE_CLASS(Physics2D::JointSpring)
TUN_DEFINE_CLASS(Physics2D::JointSlider)
TUN_DEFINE_CLASS(Physics2D::JointFixed)
TUN_DEFINE_CLASS(Physics2D::JointAngularMotor)
