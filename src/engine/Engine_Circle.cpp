#include "engine/Engine_Circle.h"

namespace Engine {

TUN_DEFINE_UNREGISTERED_CLASS(Circle, "Engine::Circle");

Circle::Circle(float radius, std::int32_t step) { Build(radius, step); }

void Circle::Build(float radius, std::int32_t step) {
    m_points.clear();
    if (step < 1) {
        return;
    }
    const Vector3D start(radius, 0.0f, 0.0f);
    Vector3D previous = start;
    for (std::int64_t angle = 0; angle <= 360; angle += step) {
        const Vector3D point = Matrix4::TransformPoint(Matrix4::RotationZ(static_cast<float>(angle)), start);
        m_points.push_back(previous);
        m_points.push_back(point);
        previous = point;
    }
}

}  // namespace Engine
