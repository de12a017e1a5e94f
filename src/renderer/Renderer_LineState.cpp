#include "renderer/Renderer_LineState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(LineState, "Renderer::LineState");

}  // namespace Renderer
