#include "renderer/Renderer_State.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(State, "Renderer::State");

void State::Apply(IRenderer&) const {}

void State::Capture(IRenderer&) {}

void State::Reset() {}

}  // namespace Renderer
