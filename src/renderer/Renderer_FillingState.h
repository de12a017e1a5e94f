#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// Polygon filling: 0 points, 1 lines, anything else filled.
class FillingState : public BoundState<FillingState, State, FillingState, &IRenderer::SetFillingState, &IRenderer::GetFillingState> {
    TUN_DECLARE_CLASS(FillingState);

    std::int32_t mode = 2;
};

}  // namespace Renderer
