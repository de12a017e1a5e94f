#include "renderer/Renderer_StencilBufferState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(StencilBufferState, "Renderer::StencilBufferState");

}  // namespace Renderer
