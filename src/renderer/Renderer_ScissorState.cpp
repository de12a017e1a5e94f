#include "renderer/Renderer_ScissorState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(ScissorState, "Renderer::ScissorState");

void ScissorState::Reset() {
    *this = ScissorState();
}

}  // namespace Renderer
