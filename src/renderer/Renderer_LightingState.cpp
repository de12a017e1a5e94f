#include "renderer/Renderer_LightingState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(LightingState, "Renderer::LightingState");

void LightingState::Reset() {
    *this = LightingState();
}

}  // namespace Renderer
