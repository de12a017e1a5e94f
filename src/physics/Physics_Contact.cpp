#include "physics/Physics_Contact.h"

#include "physics/Physics_Finite.h"

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
    Vector2D point, normal, anchorA, anchorB;
    float depth = 0.0f, restitution = 0.0f, friction = 0.0f;
    std::uint32_t flag = 0;
    ReadFinite(file, point);
    ReadFinite(file, normal);
    ReadFinite(file, anchorA);
    ReadFinite(file, anchorB);
    ReadFinite(file, depth);
    ReadFinite(file, restitution);
    ReadFinite(file, friction);
    file.ReadU32(flag);
    if (!file.HasFailed()) *this = Contact(point, normal, anchorA, anchorB, depth, restitution, friction, flag);
}

}  // namespace Physics2D

TUN_DEFINE_CLASS(Physics2D::Contact)
