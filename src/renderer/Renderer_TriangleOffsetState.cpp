#include "renderer/Renderer_TriangleOffsetState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(TriangleOffsetState, "Renderer::TriangleOffsetState");

}  // namespace Renderer
