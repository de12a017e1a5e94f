#include "engine/Engine_Mesh.h"

#include <cassert>

namespace Engine {

TUN_DEFINE_UNREGISTERED_CLASS(Mesh, "Engine::Mesh");

namespace {

// The first list that is not empty, or null.
template <class List>
const float* FirstFilled(const List& preferred, const List& fallback) {
    if (!preferred.empty()) {
        return &preferred.front().x;
    }
    return fallback.empty() ? nullptr : &fallback.front().x;
}

}  // namespace

Mesh::Mesh(const Mesh& other)
    : Core::Object(other),
      m_box(other.m_box),
      m_extraVector(other.m_extraVector),
      m_subRanges(other.m_subRanges),
      m_vertices(other.m_vertices),
      m_overrideVertices(other.m_overrideVertices),
      m_normals(other.m_normals),
      m_overrideNormals(other.m_overrideNormals),
      m_colors(other.m_colors),
      m_secondaryColors(other.m_secondaryColors),
      m_texCoords(other.m_texCoords),
      m_indices(other.m_indices),
      m_effects(Core::CloneElements(other.m_effects)),
      m_names(other.m_names),
      m_floatLists(other.m_floatLists),
      m_wordLists(other.m_wordLists),
      m_furtherPairs(other.m_furtherPairs),
      m_vertexBuffer(other.m_vertexBuffer),
      m_indexBuffer(other.m_indexBuffer),
      m_primitiveType(other.m_primitiveType) {}

bool Mesh::HasSubRange(std::uint32_t index) const {
    assert(index < m_subRanges.size() && "mesh sub-range out of range");
    return index < m_subRanges.size();
}

MeshSubRange Mesh::GetSubRange(std::uint32_t index) const {
    return HasSubRange(index) ? m_subRanges[index] : MeshSubRange{};
}

void Mesh::SetVertex(std::uint32_t index, const Vector3D& vertex) {
    assert(index < m_vertices.size() && "mesh vertex out of range");
    if (index < m_vertices.size()) {
        m_vertices[index] = vertex;
    }
}

void Mesh::SetColor(std::uint32_t index, const Color& color) {
    assert(index < m_colors.size() && "mesh colour out of range");
    if (index < m_colors.size()) {
        m_colors[index] = color;
    }
}

void Mesh::AddEffect(const Core::RefPtr<Renderer::Effect>& effect) {
    if (effect) {
        m_effects.push_back(effect);
    }
}

void Mesh::Clear() {
    m_subRanges.clear();
    m_vertices.clear();
    m_overrideVertices.clear();
    m_overrideNormals.clear();
    m_normals.clear();
    m_colors.clear();
    m_secondaryColors.clear();
    m_texCoords.clear();
    m_indices.clear();
    m_effects.clear();
    m_floatLists.clear();
    m_wordLists.clear();
    m_names.clear();
}

void Mesh::BindArrays(Renderer::IRenderer& renderer) {
    if (const float* vertices = FirstFilled(m_overrideVertices, m_vertices)) {
        renderer.SetVertexArray(vertices);
    }
    if (!m_indices.empty()) {
        renderer.SetIndexArray32(m_indices.data());
    }
    renderer.SetNormalArray(FirstFilled(m_overrideNormals, m_normals));
    renderer.SetColorArray(m_colors.empty() ? nullptr : &m_colors.front().r);
    m_packedSecondaryColors.clear();
    for (const Color& color : m_secondaryColors) {
        m_packedSecondaryColors.insert(m_packedSecondaryColors.end(), {color.r, color.g, color.b});
    }
    renderer.SetSecondaryColorArray(m_packedSecondaryColors.empty() ? nullptr : m_packedSecondaryColors.data());
    renderer.SetTexCoordArray(0, m_texCoords.empty() ? nullptr : &m_texCoords.front().x);
    renderer.SetPrimitiveType(static_cast<std::int32_t>(m_primitiveType));
}

void Mesh::UnbindArrays(Renderer::IRenderer& renderer) {
    renderer.SetVertexArray(nullptr);
    renderer.SetIndexArray32(nullptr);
    renderer.SetNormalArray(nullptr);
    renderer.SetColorArray(nullptr);
    renderer.SetSecondaryColorArray(nullptr);
    renderer.SetTexCoordArray(0, nullptr);
}

void Mesh::DrawSubRange(Renderer::IRenderer& renderer, std::uint32_t index) const {
    if (HasSubRange(index)) {
        const MeshSubRange& range = m_subRanges[index];
        renderer.DrawIndexRange(static_cast<std::int32_t>(range.first), static_cast<std::int32_t>(range.last));
    }
}

void Mesh::DrawSubRangeIndexed(Renderer::IRenderer& renderer, std::uint32_t index) const {
    if (HasSubRange(index)) {
        const MeshSubRange& range = m_subRanges[index];
        renderer.DrawElements(Renderer::kTriangleList, static_cast<std::int32_t>(range.first),
                              static_cast<std::int32_t>(range.last - range.first + 1));
    }
}

void Mesh::BindBuffers(Renderer::IRenderer& renderer) const {
    renderer.BindVertexBuffer(0, m_vertexBuffer);
    renderer.BindIndexBuffer(m_indexBuffer);
}

void Mesh::UnbindBuffers(Renderer::IRenderer& renderer) {
    renderer.BindVertexBuffer(0, nullptr);
    renderer.BindIndexBuffer(nullptr);
}

}  // namespace Engine
