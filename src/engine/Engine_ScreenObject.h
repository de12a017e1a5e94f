#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "math/Math_Color.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector3D.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"

#include <cstdint>

namespace Engine {

// Whatever the render queue draws in window pixels without a node: indexed
// geometry with its own transforms, effect, texture, colour and depth.
class ScreenObject : public Core::Object {
public:
    // 0 for a quad context; other kinds are the GUI's.
    virtual std::uint32_t GetKind() const = 0;
    virtual Core::RefPtr<Renderer::Effect> GetEffect() const = 0;
    virtual Core::RefPtr<Renderer::ITexture> GetTexture() const = 0;
    virtual const Matrix4& GetTransform() const = 0;
    virtual const Matrix4& GetTextureTransform() const = 0;
    virtual const Vector3D* GetVertices() const = 0;
    virtual const Vector2D* GetTextureCoordinates() const = 0;
    virtual const Color& GetColor() const = 0;
    virtual const std::uint16_t* GetIndices() const = 0;
    virtual std::uint32_t GetIndexCount() const = 0;
    virtual float GetDepth() const = 0;
    virtual bool IsVisible() const = 0;
    // Whether the queue accepts it for drawing.
    virtual bool IsDrawable() const = 0;
    // Called by the queue right before the object is drawn.
    virtual void UpdateEffect() = 0;
    virtual std::int32_t GetPrimitiveType() const = 0;
};

}  // namespace Engine
