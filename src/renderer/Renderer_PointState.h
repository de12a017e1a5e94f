#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

namespace Renderer {

// The rasterised point size.
class PointState : public BoundState<PointState, State, PointState, &IRenderer::SetPointState, &IRenderer::GetPointState> {
    TUN_DECLARE_CLASS(PointState);

    float size = 1.0f;
};

}  // namespace Renderer
