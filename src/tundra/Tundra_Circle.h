#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Circle.h"
#include "tundra/Tundra_GameObject.h"

namespace Tundra {

// A circle outline around the object's position, in the object's colour and
// opacity; the layer and sprites show collision circles with it. Made by the
// class registry it has no outline until Load: SetRadius then does nothing
// and the radius reads 0.
class Circle : public GameObject {
    TUN_DECLARE_CLASS(Circle);
    Circle() = default;
    explicit Circle(float radius);
    Circle(const Circle& other);
    Circle& operator=(const Circle&) = delete;

    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;
    void RenderSync(float dt) override;

    void SetRadius(float radius);
    float GetRadius() const { return m_radius; }
    const Core::RefPtr<Engine::Circle>& GetCircleNode() const { return m_circle; }

private:
    // Outline pieces every this many degrees.
    static constexpr std::int32_t kStepDegrees = 5;

    void MakeNode(float radius);

    Core::RefPtr<Engine::Circle> m_circle;
    float m_radius = 0.0f;
};

}  // namespace Tundra
