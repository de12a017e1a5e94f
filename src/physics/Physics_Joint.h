#pragma once

#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"

#include <cstdint>

namespace Physics2D {

// A link between two bodies of the engine (by index; 0 is the world) at an
// anchor local to each. Joints are kept, streamed and removed with the
// engine's state; the solver does not act on them.
class Joint : public Core::Object {
public:
    Joint() = default;
    Joint(std::uint32_t bodyA, std::uint32_t bodyB, const Vector2D& anchorA, const Vector2D& anchorB);

    std::uint32_t GetBodyA() const { return m_bodyA; }
    std::uint32_t GetBodyB() const { return m_bodyB; }
    const Vector2D& GetAnchorA() const { return m_anchorA; }
    const Vector2D& GetAnchorB() const { return m_anchorB; }
    // The engine refuses a joint whose anchors are not finite.
    bool HasFiniteAnchors() const;

    void Save(Core::File& file) const override;
    // All or nothing: an anchor that is not finite fails the stream.
    void Load(Core::File& file) override;

private:
    std::uint32_t m_bodyA = 0;
    std::uint32_t m_bodyB = 0;
    Vector2D m_anchorA;
    Vector2D m_anchorB;
};

#define TUN_PHYSICS_JOINT(Name)      \
    class Name : public Joint {      \
        TUN_DECLARE_CLASS(Name);     \
        using Joint::Joint;          \
        Name() = default;            \
    }

TUN_PHYSICS_JOINT(JointNail);
TUN_PHYSICS_JOINT(JointHinge);
TUN_PHYSICS_JOINT(JointSpring);
TUN_PHYSICS_JOINT(JointSlider);
TUN_PHYSICS_JOINT(JointFixed);
TUN_PHYSICS_JOINT(JointAngularMotor);

#undef TUN_PHYSICS_JOINT

}  // namespace Physics2D
