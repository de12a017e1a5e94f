#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

namespace Renderer {

// Depth offset of filled triangles.
class TriangleOffsetState : public BoundState<TriangleOffsetState, State, TriangleOffsetState, &IRenderer::SetTriangleOffsetState, &IRenderer::GetTriangleOffsetState> {
    TUN_DECLARE_CLASS(TriangleOffsetState);

    float factor = 0.0f;
    float units = 0.0f;
    bool enabled = false;
};

}  // namespace Renderer
