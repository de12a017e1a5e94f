#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

namespace Renderer {

// The rasterised line width.
class LineState : public BoundState<LineState, State, LineState, &IRenderer::SetLineState, &IRenderer::GetLineState> {
    TUN_DECLARE_CLASS(LineState);

    float width = 1.0f;
};

}  // namespace Renderer
