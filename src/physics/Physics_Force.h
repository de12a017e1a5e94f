#pragma once

#include "core/Core_Object.h"
#include "physics/Physics_BodyState.h"
#include "physics/Physics_MassProperties.h"

namespace Physics2D {

// A force acting at a body's centre of mass (it never turns the body). It
// may depend on the state being integrated, since the higher-order
// integrators evaluate it at intermediate states.
class Force : public Core::Object {
public:
    virtual Vector2D Evaluate(const BodyState& state, const MassProperties& mass) const = 0;
    // Bodies refuse a force whose parameters are not finite; a stored one
    // fails its stream.
    virtual bool HasFiniteParameters() const { return true; }
};

// mass x normalised direction x strength: gravity for drops and rolling spikes.
class GravityForce : public Force {
    TUN_DECLARE_CLASS(GravityForce);
    GravityForce(const Vector2D& direction = {0.0f, -1.0f}, float strength = 0.0f);
    Vector2D Evaluate(const BodyState& state, const MassProperties& mass) const override;
    bool HasFiniteParameters() const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

private:
    Vector2D m_direction;
    float m_strength;
};

// The same world vector whatever the body's state.
class ConstantForce : public Force {
    TUN_DECLARE_CLASS(ConstantForce);
    explicit ConstantForce(const Vector2D& force = {});
    Vector2D Evaluate(const BodyState& state, const MassProperties& mass) const override;
    bool HasFiniteParameters() const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

private:
    Vector2D m_force;
};

// -k x velocity.
class DragForce : public Force {
    TUN_DECLARE_CLASS(DragForce);
    explicit DragForce(float coefficient = 0.0f);
    Vector2D Evaluate(const BodyState& state, const MassProperties& mass) const override;
    bool HasFiniteParameters() const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

private:
    float m_coefficient;
};

}  // namespace Physics2D
