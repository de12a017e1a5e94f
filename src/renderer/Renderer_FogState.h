#pragma once

#include "math/Math_Color.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// Fog: mode (0 linear, 1 exponential, else exponential squared), colour,
// linear start and end, density.
// Reset keeps the colour.
class FogState : public BoundState<FogState, State, FogState, &IRenderer::SetFogState, &IRenderer::GetFogState> {
    TUN_DECLARE_CLASS(FogState);

    void Reset() override;

    std::int32_t mode = 0;
    Color color{1.0f, 1.0f, 1.0f, 1.0f};
    float start = 0.0f;
    float end = 100.0f;
    float density = 0.0f;
    bool enabled = false;
};

}  // namespace Renderer
