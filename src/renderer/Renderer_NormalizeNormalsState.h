#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

namespace Renderer {

// Whether normals are rescaled to unit length.
class NormalizeNormalsState : public BoundState<NormalizeNormalsState, State, NormalizeNormalsState, &IRenderer::SetNormalizeNormalsState, &IRenderer::GetNormalizeNormalsState> {
    TUN_DECLARE_CLASS(NormalizeNormalsState);

    bool enabled = false;
};

}  // namespace Renderer
