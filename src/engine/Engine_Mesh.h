#pragma once

#include "core/Core_PoolAllocator.h"
#include "core/Core_RefPtr.h"
#include "core/Core_RefPtrVector.h"
#include "core/Core_String.h"
#include "engine/Engine_UnregisteredClass.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector3D.h"
#include "math/Math_Vector4D.h"
#include "renderer/Renderer_Buffer.h"
#include "renderer/Renderer_CreationNumber.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_IRenderer.h"

#include <cstdint>
#include <utility>
#include <vector>

// The lists go to OpenGL as packed memory: no padding may sneak in.
static_assert(sizeof(Vector3D) == 12 && sizeof(Vector2D) == 8 && sizeof(Color) == 16);

namespace Engine {

// A range of the index list drawn as one call; first and last are inclusive.
struct MeshSubRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::int32_t value = 0;
    // Set: items drawing this range go with the blended items.
    std::uint8_t flag = 0;
};

template <class T>
using MeshList = std::vector<T, Core::PoolAllocator<T>>;

// Vertex-array geometry: parallel per-vertex lists, a 32-bit index list and
// the sub-ranges drawn one call each. Neither saved nor loaded. Indices out
// of range are ignored by the setters and the draws (and assert in debug
// builds).
class Mesh : public Core::Object {
    TUN_DECLARE_UNREGISTERED_CLASS(Mesh);

    Mesh() = default;
    // Clones the effects; shares the two buffers.
    Mesh(const Mesh& other);
    Mesh& operator=(const Mesh&) = delete;

    void AddSubRange(const MeshSubRange& range) { m_subRanges.push_back(range); }
    // An empty record past the last range.
    MeshSubRange GetSubRange(std::uint32_t index) const;
    std::uint32_t GetSubRangeCount() const { return static_cast<std::uint32_t>(m_subRanges.size()); }

    void AddVertex(const Vector3D& vertex) { m_vertices.push_back(vertex); }
    void SetVertex(std::uint32_t index, const Vector3D& vertex);
    void ReserveVertices(std::uint32_t count) { m_vertices.reserve(count); }
    void AddColor(const Color& color) { m_colors.push_back(color); }
    void SetColor(std::uint32_t index, const Color& color);
    void ReserveColors(std::uint32_t count) { m_colors.reserve(count); }
    void AddTexCoord(const Vector2D& coordinate) { m_texCoords.push_back(coordinate); }
    void ReserveTexCoords(std::uint32_t count) { m_texCoords.reserve(count); }
    void AddIndex(std::uint32_t index) { m_indices.push_back(index); }
    // Effects that belong to the mesh; an empty reference is ignored.
    void AddEffect(const Core::RefPtr<Renderer::Effect>& effect);

    const MeshList<Vector3D>& GetVertices() const { return m_vertices; }
    const MeshList<Color>& GetColors() const { return m_colors; }
    const MeshList<Vector2D>& GetTexCoords() const { return m_texCoords; }
    const MeshList<std::uint32_t>& GetIndices() const { return m_indices; }
    const Core::RefPtrVector<Renderer::Effect>& GetEffects() const { return m_effects; }

    // Lists the engine itself never fills; whoever does fills them here.
    MeshList<Vector3D>& OverrideVertices() { return m_overrideVertices; }
    MeshList<Vector3D>& Normals() { return m_normals; }
    MeshList<Vector3D>& OverrideNormals() { return m_overrideNormals; }
    MeshList<Color>& SecondaryColors() { return m_secondaryColors; }
    Core::StringVector& Names() { return m_names; }
    MeshList<MeshList<float>>& FloatLists() { return m_floatLists; }
    MeshList<MeshList<std::uint32_t>>& WordLists() { return m_wordLists; }
    MeshList<std::pair<std::uint32_t, std::uint32_t>>& FurtherPairs() { return m_furtherPairs; }
    Core::RefPtr<Renderer::Buffer>& VertexBuffer() { return m_vertexBuffer; }
    Core::RefPtr<Renderer::Buffer>& IndexBuffer() { return m_indexBuffer; }
    BoundingBox& Box() { return m_box; }
    Vector4D& ExtraVector() { return m_extraVector; }

    // Orders meshes the same way on every run.
    std::uint64_t GetCreationNumber() const { return m_creation.Get(); }

    std::uint32_t GetPrimitiveType() const { return m_primitiveType; }
    void SetPrimitiveType(std::uint32_t type) { m_primitiveType = type; }

    // Empties every list but the further pairs; keeps the buffers, the box,
    // the extra vector and the primitive type.
    void Clear();

    // Hands the lists to the renderer's arrays (an empty vertex or index list
    // leaves the renderer's array as it was), then the primitive type.
    void BindArrays(Renderer::IRenderer& renderer);
    // Turns every array BindArrays may set off.
    static void UnbindArrays(Renderer::IRenderer& renderer);
    void DrawSubRange(Renderer::IRenderer& renderer, std::uint32_t index) const;
    void DrawSubRangeIndexed(Renderer::IRenderer& renderer, std::uint32_t index) const;
    void BindBuffers(Renderer::IRenderer& renderer) const;
    static void UnbindBuffers(Renderer::IRenderer& renderer);

private:
    bool HasSubRange(std::uint32_t index) const;

    BoundingBox m_box;
    Vector4D m_extraVector;
    MeshList<MeshSubRange> m_subRanges;
    MeshList<Vector3D> m_vertices;
    MeshList<Vector3D> m_overrideVertices;
    MeshList<Vector3D> m_normals;
    MeshList<Vector3D> m_overrideNormals;
    MeshList<Color> m_colors;
    MeshList<Color> m_secondaryColors;
    MeshList<Vector2D> m_texCoords;
    MeshList<std::uint32_t> m_indices;
    Core::RefPtrVector<Renderer::Effect> m_effects;
    Core::StringVector m_names;
    MeshList<MeshList<float>> m_floatLists;
    MeshList<MeshList<std::uint32_t>> m_wordLists;
    MeshList<std::pair<std::uint32_t, std::uint32_t>> m_furtherPairs;
    Core::RefPtr<Renderer::Buffer> m_vertexBuffer;
    Core::RefPtr<Renderer::Buffer> m_indexBuffer;
    std::uint32_t m_primitiveType = 4;
    Renderer::CreationNumber m_creation;
    // The secondary colours as the renderer takes them: red, green, blue.
    MeshList<float> m_packedSecondaryColors;
};

}  // namespace Engine
