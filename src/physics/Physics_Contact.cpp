#include "physics/Physics_Contact.h"

namespace Physics2D {

Contact::Contact(const Vector2D& point, const Vector2D& normal, const Vector2D& anchorA, const Vector2D& anchorB,
                 float depth, float restitution, float friction, std::uint32_t flag)
    : m_point(point),
      m_normal(normal),
      m_anchorA(anchorA),
      m_anchorB(anchorB),
      m_depth(depth),
      m_restitution(restitution),
      m_friction(friction),
      m_flag(flag) {}

void Contact::Save(Core::File& file) const {
    file << m_point << m_normal << m_anchorA << m_anchorB;
    file.WriteF32(m_depth);
    file.WriteF32(m_restitution);
    file.WriteF32(m_friction);
    file.WriteU32(m_flag);
}

void Contact::Load(Core::File& file) {
    file >> m_point >> m_normal >> m_anchorA >> m_anchorB;
    file.ReadF32(m_depth);
    file.ReadF32(m_restitution);
    file.ReadF32(m_friction);
    file.ReadU32(m_flag);
}

}  // namespace Physics2D

TUN_DEFINE_CLASS(Physics2D::Contact)
