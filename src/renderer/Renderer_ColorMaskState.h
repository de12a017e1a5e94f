#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_State.h"

namespace Renderer {

// Which colour channels are written.
class ColorMaskState : public BoundState<ColorMaskState, State, ColorMaskState, &IRenderer::SetColorMaskState, &IRenderer::GetColorMaskState> {
    TUN_DECLARE_CLASS(ColorMaskState);

    bool red = true;
    bool green = true;
    bool blue = true;
    bool alpha = true;
};

}  // namespace Renderer
