#include "renderer/Renderer_FillingState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(FillingState, "Renderer::FillingState");

}  // namespace Renderer
