#include "engine/Engine_BoundingVolume.h"

#include "os/OS_Random.h"

namespace Engine {
namespace {

constexpr float kHalfSide = 5.0f;
constexpr std::uint32_t kBoxIndices[36] = {0, 1, 5, 0, 5, 4, 3, 2, 1, 3, 1, 0, 3, 6, 2, 3, 7, 6,
                                           5, 6, 4, 4, 6, 7, 0, 7, 3, 0, 4, 7, 2, 6, 1, 6, 5, 1};

float RandomChannel() { return static_cast<float>(os::Rand()) / static_cast<float>(os::kRandMax); }

}  // namespace

BoundingVolume::BoundingVolume() : m_mesh(TUN_NEW(Mesh)) {
    // Three separate statements: the order of the draws is part of the sequence.
    const float red = RandomChannel();
    const float green = RandomChannel();
    const float blue = RandomChannel();
    const Color color(red, green, blue, 0.5f);
    m_mesh->AddSubRange({0, 35, -1, 1});
    for (int i = 0; i < 8; ++i) {
        m_mesh->AddVertex({});
        m_mesh->AddColor(color);
    }
    for (const std::uint32_t index : kBoxIndices) {
        m_mesh->AddIndex(index);
    }
    Math::SetBoxCorners(m_local.corners, {-kHalfSide, -kHalfSide, -kHalfSide}, {kHalfSide, kHalfSide, kHalfSide});
    m_current = m_local;
}

BoundingVolume::BoundingVolume(const BoundingVolume& other)
    : m_current(other.m_current), m_local(other.m_local), m_mesh(static_cast<Mesh*>(other.m_mesh->Clone())) {}

void BoundingVolume::Transform(const Matrix4& matrix) {
    for (int i = 0; i < 8; ++i) {
        m_current.corners[i] = Matrix4::TransformPoint(matrix, m_local.corners[i]);
    }
}

void BoundingVolume::Merge(const BoundingVolume& other) {
    BoundingBox::EnclosingPair(m_current, m_current, other.m_current, 0.0f);
}

void BoundingVolume::SetBox(const BoundingBox& box) {
    m_current = box;
    m_local = box;
    UpdateMesh();
}

void BoundingVolume::UpdateMesh() {
    for (std::uint32_t i = 0; i < 8; ++i) {
        m_mesh->SetVertex(i, m_current.corners[i]);
    }
}

}  // namespace Engine
