#include "renderer/Renderer_CullingState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(CullingState, "Renderer::CullingState");

}  // namespace Renderer
