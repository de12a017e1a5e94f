#include "renderer/Renderer_NormalizeNormalsState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(NormalizeNormalsState, "Renderer::NormalizeNormalsState");

}  // namespace Renderer
