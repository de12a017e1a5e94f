#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// The stencil test: compare function (engine enumeration), the operations on
// stencil fail, depth fail and depth pass, the reference and both masks.
class StencilBufferState : public BoundState<StencilBufferState, State, StencilBufferState, &IRenderer::SetStencilBufferState, &IRenderer::GetStencilBufferState> {
    TUN_DECLARE_CLASS(StencilBufferState);

    std::int32_t compareFunction = 7;
    std::int32_t stencilFailOperation = 0;
    std::int32_t depthFailOperation = 0;
    std::int32_t depthPassOperation = 0;
    std::int32_t reference = 0;
    std::uint32_t compareMask = 0xFFFFFFFFu;
    std::uint32_t writeMask = 0xFFFFFFFFu;
    bool enabled = false;
};

}  // namespace Renderer
