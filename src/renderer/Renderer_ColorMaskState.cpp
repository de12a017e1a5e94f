#include "renderer/Renderer_ColorMaskState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(ColorMaskState, "Renderer::ColorMaskState");

}  // namespace Renderer
