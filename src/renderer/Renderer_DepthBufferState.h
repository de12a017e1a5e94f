#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// The depth test (compare function, engine enumeration) and depth writes.
class DepthBufferState : public BoundState<DepthBufferState, State, DepthBufferState, &IRenderer::SetDepthBufferState, &IRenderer::GetDepthBufferState> {
    TUN_DECLARE_CLASS(DepthBufferState);

    std::int32_t compareFunction = 1;
    bool enabled = true;
    bool writeEnabled = true;
};

}  // namespace Renderer
