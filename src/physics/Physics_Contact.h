#pragma once

#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"

#include <cmath>
#include <cstdint>

namespace Physics2D {

// One contact point between two bodies (or a body and the world). The
// normal points from the second body towards the first: moving the first
// body along it separates them; depth is how far they overlap along it.
// The anchors are stored and streamed; the solver's lever arms start at the
// contact point.
class Contact : public Core::Object {
    TUN_DECLARE_CLASS(Contact);
    Contact() = default;
    Contact(const Vector2D& point, const Vector2D& normal, const Vector2D& anchorA, const Vector2D& anchorB,
            float depth, float restitution, float friction, std::uint32_t flag);

    // The engine refuses a contact with a value that is not finite. Every
    // contact of every frame passes here: inline, one combined test.
    bool HasFiniteValues() const {
        return Math::IsFinite(m_point) & Math::IsFinite(m_normal) & Math::IsFinite(m_anchorA) &
               Math::IsFinite(m_anchorB) & std::isfinite(m_depth) & std::isfinite(m_restitution) &
               std::isfinite(m_friction);
    }

    const Vector2D& GetPoint() const { return m_point; }
    const Vector2D& GetNormal() const { return m_normal; }
    const Vector2D& GetAnchorA() const { return m_anchorA; }
    const Vector2D& GetAnchorB() const { return m_anchorB; }
    float GetDepth() const { return m_depth; }
    float GetRestitution() const { return m_restitution; }
    float GetFriction() const { return m_friction; }
    std::uint32_t GetFlag() const { return m_flag; }

    void Save(Core::File& file) const override;
    // All or nothing: a value that is not finite fails the stream.
    void Load(Core::File& file) override;

private:
    // Merges two points of a pair in place, without a temporary per merge.
    friend class ContactSolver;

    Vector2D m_point;
    Vector2D m_normal;
    Vector2D m_anchorA;
    Vector2D m_anchorB;
    float m_depth = 0.0f;
    float m_restitution = 0.0f;
    float m_friction = 0.0f;
    std::uint32_t m_flag = 0;
};

}  // namespace Physics2D
