#include "renderer/Renderer_ScissorState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(ScissorState, "Renderer::ScissorState");

}  // namespace Renderer
