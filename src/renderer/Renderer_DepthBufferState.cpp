#include "renderer/Renderer_DepthBufferState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(DepthBufferState, "Renderer::DepthBufferState");

}  // namespace Renderer
