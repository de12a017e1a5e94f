#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// Face culling: face 0 culls back faces, any other front faces.
class CullingState : public BoundState<CullingState, State, CullingState, &IRenderer::SetCullingState, &IRenderer::GetCullingState> {
    TUN_DECLARE_CLASS(CullingState);

    std::int32_t face = 0;
    bool enabled = true;
};

}  // namespace Renderer
