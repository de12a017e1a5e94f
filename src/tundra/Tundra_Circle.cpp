#include "tundra/Tundra_Circle.h"

#include "core/Core_File.h"
#include "tundra/Tundra_ChildNode.h"
#include "tundra/Tundra_Line.h"

namespace Tundra {

Circle::Circle(float radius) { MakeNode(radius); }

Circle::Circle(const Circle& other) : GameObject(other), m_radius(other.m_radius) {
    ReplaceChildNode(*this, m_circle, CloneNode(other.m_circle));
}

void Circle::MakeNode(float radius) {
    m_radius = radius;
    ReplaceChildNode(*this, m_circle, Core::RefPtr<Engine::Circle>(TUN_NEW(Engine::Circle, radius, kStepDegrees)));
}

void Circle::SetRadius(float radius) {
    if (m_circle) {
        m_radius = radius;
        m_circle->Build(radius, kStepDegrees);
    }
}

void Circle::RenderSync(float dt) { SyncLinesAppearance(*this, m_circle.Get()); }

void Circle::Save(Core::File& file) const {
    GameObject::Save(file);
    file.WriteF32(m_radius);
}

void Circle::Load(Core::File& file) {
    GameObject::Load(file);
    float radius = 0.0f;
    file.ReadF32(radius);
    if (file.HasFailed()) {
        return;
    }
    MakeNode(radius);
    SetVisible(GetVisible());
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::Circle)
