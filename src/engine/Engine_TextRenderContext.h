#pragma once

#include "engine/Engine_ScreenObject.h"
#include "engine/Engine_UnregisteredClass.h"

#include <array>

namespace Engine {

// One textured quad in window pixels: two triangles 0, 1, 2 and 0, 2, 3
// over four corners. Its users fill the public fields themselves; a copy
// shares the effect and the texture.
class TextRenderContext : public ScreenObject {
    TUN_DECLARE_UNREGISTERED_CLASS(TextRenderContext);

    TextRenderContext() = default;

    // Back to the values of a new context.
    virtual void Reset();

    std::uint32_t GetKind() const override { return 0; }
    Core::RefPtr<Renderer::Effect> GetEffect() const override { return effect; }
    Core::RefPtr<Renderer::ITexture> GetTexture() const override { return texture; }
    const Matrix4& GetTransform() const override { return transform; }
    const Matrix4& GetTextureTransform() const override { return textureTransform; }
    const Vector3D* GetVertices() const override { return corners.data(); }
    const Vector2D* GetTextureCoordinates() const override { return texCoords.data(); }
    const Color& GetColor() const override { return color; }
    const std::uint16_t* GetIndices() const override { return indices.data(); }
    std::uint32_t GetIndexCount() const override { return static_cast<std::uint32_t>(indices.size()); }
    float GetDepth() const override { return depth; }
    bool IsVisible() const override { return visible != 0; }
    bool IsDrawable() const override { return effect != nullptr; }
    void UpdateEffect() override {}
    std::int32_t GetPrimitiveType() const override { return primitiveType; }

    Core::RefPtr<Renderer::Effect> effect;
    Core::RefPtr<Renderer::ITexture> texture;
    Matrix4 transform;
    Matrix4 textureTransform;
    std::array<Vector3D, 4> corners{};
    std::array<Vector2D, 4> texCoords{};
    Color color{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<std::uint16_t, 6> indices{0, 1, 2, 0, 2, 3};
    float depth = 0.0f;
    std::uint8_t visible = 1;
    std::int32_t primitiveType = 4;
};

}  // namespace Engine
