#include "engine/Engine_BoundingVolume.h"

#include "os/OS_Random.h"

#include <cstring>

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
    m_localHasBoxCornerForm = true;
    m_localLow = m_local.corners[6];
    m_localHigh = m_local.corners[0];
    m_current = m_local;
}

BoundingVolume::BoundingVolume(const BoundingVolume& other)
    : m_localHasBoxCornerForm(other.m_localHasBoxCornerForm),
      m_localLow(other.m_localLow),
      m_localHigh(other.m_localHigh),
      m_current(other.GetBox()),
      m_local(other.m_local),
      m_mesh(static_cast<Mesh*>(other.m_mesh->Clone())) {}

bool BoundingVolume::HasBoxCornerForm(const BoundingBox& box) {
    Vector3D corners[8];
    Math::SetBoxCorners(corners, box.corners[6], box.corners[0]);
    return std::memcmp(corners, box.corners, sizeof corners) == 0;
}

void BoundingVolume::Transform(const Matrix4& matrix) {
    // Only the corners move: centre and planes stay those of the last merge.
    CompleteMerges();
    if (!m_localHasBoxCornerForm) {
        for (int i = 0; i < 8; ++i) {
            m_current.corners[i] = Matrix4::TransformPoint(matrix, m_local.corners[i]);
        }
        return;
    }
    // TransformPoint's sums, ((x + y) + z) + translation per row, over
    // products taken once per distinct coordinate: [0] low, [1] high.
    const Vector3D& low = m_localLow;
    const Vector3D& high = m_localHigh;
    float x[2][3];
    float y[2][3];
    float z[2][3];
    for (int row = 0; row < 3; ++row) {
        x[0][row] = matrix[row] * low.x;
        x[1][row] = matrix[row] * high.x;
        y[0][row] = matrix[4 + row] * low.y;
        y[1][row] = matrix[4 + row] * high.y;
        z[0][row] = matrix[8 + row] * low.z;
        z[1][row] = matrix[8 + row] * high.z;
    }
    // SetBoxCorners' order: which end of x, y and z each corner takes.
    constexpr int kEnds[8][3] = {{1, 1, 1}, {0, 1, 1}, {0, 1, 0}, {1, 1, 0},
                                 {1, 0, 1}, {0, 0, 1}, {0, 0, 0}, {1, 0, 0}};
    for (int i = 0; i < 8; ++i) {
        const auto [ex, ey, ez] = kEnds[i];
        float placed[3];
        for (int row = 0; row < 3; ++row) {
            placed[row] = x[ex][row] + y[ey][row] + z[ez][row] + matrix[12 + row];
        }
        m_current.corners[i] = {placed[0], placed[1], placed[2]};
    }
}

void BoundingVolume::Merge(const BoundingVolume& other) {
    BoundingBox::PairExtremes(m_mergedLow, m_mergedHigh, m_current, other.m_current);
    BoundingBox::CornersBetweenExtremes(m_current, m_mergedLow, m_mergedHigh, 0.0f);
    m_mergesPending = true;
}

void BoundingVolume::CompleteMerges() const {
    if (m_mergesPending) {
        BoundingBox::BetweenExtremes(m_current, m_mergedLow, m_mergedHigh, 0.0f);
        m_mergesPending = false;
    }
}

void BoundingVolume::SetBox(const BoundingBox& box) {
    m_current = box;
    m_mergesPending = false;
    m_local = box;
    m_localHasBoxCornerForm = HasBoxCornerForm(box);
    m_localLow = box.corners[6];
    m_localHigh = box.corners[0];
    UpdateMesh();
}

void BoundingVolume::UpdateMesh() {
    for (std::uint32_t i = 0; i < 8; ++i) {
        m_mesh->SetVertex(i, m_current.corners[i]);
    }
}

}  // namespace Engine
