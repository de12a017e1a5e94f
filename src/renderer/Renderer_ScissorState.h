#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// The scissor test and its rectangle: left, bottom, width, height in window pixels.
class ScissorState : public BoundState<ScissorState, State, ScissorState, &IRenderer::SetScissorState, &IRenderer::GetScissorState> {
    TUN_DECLARE_CLASS(ScissorState);

    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 640;
    std::int32_t height = 480;
    bool enabled = false;
};

}  // namespace Renderer
