#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// Shading mode: 1 smooth, anything else flat.
class ShadingState : public BoundState<ShadingState, State, ShadingState, &IRenderer::SetShadingState, &IRenderer::GetShadingState> {
    TUN_DECLARE_CLASS(ShadingState);

    std::int32_t mode = 1;
};

}  // namespace Renderer
