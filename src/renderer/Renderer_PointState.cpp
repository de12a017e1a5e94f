#include "renderer/Renderer_PointState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(PointState, "Renderer::PointState");

}  // namespace Renderer
