#pragma once

#include "math/Math_Color.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

namespace Renderer {

// Lighting on or off, the global ambient colour and the local-viewer model.
class LightingState : public BoundState<LightingState, State, LightingState, &IRenderer::SetLightingState, &IRenderer::GetLightingState> {
    TUN_DECLARE_CLASS(LightingState);

    Color ambient{0.2f, 0.2f, 0.2f, 1.0f};
    bool localViewer = true;
    bool enabled = false;
};

}  // namespace Renderer
