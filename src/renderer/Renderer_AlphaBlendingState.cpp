#include "renderer/Renderer_AlphaBlendingState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(AlphaBlendingState, "Renderer::AlphaBlendingState");

}  // namespace Renderer
