#pragma once

#include "math/Math_Color.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

namespace Renderer {

// The surface colours lighting works with.
// Reset: the diffuse colour becomes opaque black, the rest as constructed.
class Material : public BoundState<Material, State, Material, &IRenderer::SetMaterial, &IRenderer::GetMaterial> {
    TUN_DECLARE_CLASS(Material);

    void Reset() override;

    Color ambient{0.2f, 0.2f, 0.2f, 1.0f};
    Color diffuse{0.8f, 0.8f, 0.8f, 1.0f};
    Color specular{0.0f, 0.0f, 0.0f, 1.0f};
    Color emission{0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
};

}  // namespace Renderer
