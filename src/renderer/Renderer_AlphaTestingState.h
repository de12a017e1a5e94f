#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// The alpha test: compare function (engine enumeration) and reference.
class AlphaTestingState : public BoundState<AlphaTestingState, State, AlphaTestingState, &IRenderer::SetAlphaTestingState, &IRenderer::GetAlphaTestingState> {
    TUN_DECLARE_CLASS(AlphaTestingState);

    std::int32_t compareFunction = 7;
    float reference = 0.0f;
    bool enabled = false;
};

}  // namespace Renderer
