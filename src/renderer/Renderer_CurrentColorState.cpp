#include "renderer/Renderer_CurrentColorState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(CurrentColorState, "Renderer::CurrentColorState");

void CurrentColorState::Apply(IRenderer& renderer) const { renderer.SetCurrentColor(color); }

void CurrentColorState::Capture(IRenderer& renderer) { color = renderer.GetCurrentColor(); }

void CurrentColorState::Reset() { *this = CurrentColorState(); }

}  // namespace Renderer
