#include "renderer/Renderer_LightingState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(LightingState, "Renderer::LightingState");

}  // namespace Renderer
