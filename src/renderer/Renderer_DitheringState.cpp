#include "renderer/Renderer_DitheringState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(DitheringState, "Renderer::DitheringState");

}  // namespace Renderer
