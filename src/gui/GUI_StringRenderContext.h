#pragma once

#include "engine/Engine_ScreenObject.h"
#include "engine/Engine_UnregisteredClass.h"
#include "renderer/Renderer_Enumerations.h"

#include <cstdint>
#include <vector>

namespace Engine {

// A control's text: every glyph quad of one label in one vertex list and one
// 16-bit index list, drawn as one draw of the font's texture. Its users fill
// the public fields (the GUI graphics object's DrawText does).
class StringRenderContext : public ScreenObject {
    TUN_DECLARE_UNREGISTERED_CLASS(StringRenderContext);

    static constexpr std::uint32_t kKind = 1;

    StringRenderContext() = default;

    // No geometry, no effect or texture, depth 0, identity matrices, colour
    // (0, 0, 0, 1), visible.
    void Reset();

    std::uint32_t GetKind() const override { return kKind; }
    Core::RefPtr<Renderer::Effect> GetEffect() const override { return effect; }
    Core::RefPtr<Renderer::ITexture> GetTexture() const override { return texture; }
    const Matrix4& GetTransform() const override { return transform; }
    const Matrix4& GetTextureTransform() const override { return textureTransform; }
    // Null when there are none.
    const Vector3D* GetVertices() const override { return vertices.empty() ? nullptr : vertices.data(); }
    const Vector2D* GetTextureCoordinates() const override { return texCoords.empty() ? nullptr : texCoords.data(); }
    const Color& GetColor() const override { return color; }
    const std::uint16_t* GetIndices() const override { return indices.empty() ? nullptr : indices.data(); }
    std::uint32_t GetIndexCount() const override { return static_cast<std::uint32_t>(indices.size()); }
    float GetDepth() const override { return depth; }
    bool IsVisible() const override { return visible != 0; }
    // Only with both an effect and a texture.
    bool IsDrawable() const override { return effect != nullptr && texture != nullptr; }
    void UpdateEffect() override {}
    std::int32_t GetPrimitiveType() const override { return Renderer::kTriangleList; }

    Core::RefPtr<Renderer::Effect> effect;
    Core::RefPtr<Renderer::ITexture> texture;
    Matrix4 transform;
    Matrix4 textureTransform;
    std::vector<Vector3D> vertices;
    std::vector<Vector2D> texCoords;
    Color color{0.0f, 0.0f, 0.0f, 1.0f};
    std::vector<std::uint16_t> indices;
    float depth = 0.0f;
    std::uint8_t visible = 1;
};

}  // namespace Engine
