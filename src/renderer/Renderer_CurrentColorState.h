#pragma once

#include "math/Math_Color.h"
#include "renderer/Renderer_State.h"

namespace Renderer {

// The current vertex colour as a state: applying it sets the renderer's
// current colour, capturing reads it back. The renderer keeps the colour
// itself, not a state object.
class CurrentColorState : public State {
    TUN_DECLARE_CLASS(CurrentColorState);

    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    Color color{1.0f, 1.0f, 1.0f, 1.0f};
};

}  // namespace Renderer
