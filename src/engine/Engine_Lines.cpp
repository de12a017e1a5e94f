#include "engine/Engine_Lines.h"

namespace Engine {

TUN_DEFINE_UNREGISTERED_CLASS(Lines, "Engine::Lines");

void Lines::AddLine(const Vector3D& start, const Vector3D& end) {
    m_points.push_back(start);
    m_points.push_back(end);
}

void Lines::SetPoint(std::uint64_t index, const Vector3D& point) {
    if (index < m_points.size()) {
        m_points[index] = point;
    }
}

Vector3D Lines::GetPoint(std::uint64_t index) const { return index < m_points.size() ? m_points[index] : Vector3D(); }

}  // namespace Engine
