#include "renderer/Renderer_ShadingState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(ShadingState, "Renderer::ShadingState");

}  // namespace Renderer
