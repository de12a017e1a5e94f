#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

namespace Renderer {

// Colour dithering on or off.
class DitheringState : public BoundState<DitheringState, State, DitheringState, &IRenderer::SetDitheringState, &IRenderer::GetDitheringState> {
    TUN_DECLARE_CLASS(DitheringState);

    bool enabled = true;
};

}  // namespace Renderer
