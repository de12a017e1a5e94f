#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// Blending with source and destination factors (engine enumeration).
class AlphaBlendingState : public BoundState<AlphaBlendingState, State, AlphaBlendingState, &IRenderer::SetAlphaBlendingState, &IRenderer::GetAlphaBlendingState> {
    TUN_DECLARE_CLASS(AlphaBlendingState);

    std::int32_t sourceFactor = 6;
    std::int32_t destinationFactor = 7;
    bool enabled = false;
};

}  // namespace Renderer
