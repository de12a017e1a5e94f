#include "renderer/Renderer_FogState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(FogState, "Renderer::FogState");

void FogState::Reset() {
    const Color kept = color;
    *this = FogState();
    color = kept;
}

}  // namespace Renderer
