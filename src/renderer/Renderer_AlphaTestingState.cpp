#include "renderer/Renderer_AlphaTestingState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(AlphaTestingState, "Renderer::AlphaTestingState");

}  // namespace Renderer
