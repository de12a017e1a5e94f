#include "renderer/Renderer_AlphaTestingState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(AlphaTestingState, "Renderer::AlphaTestingState");

void AlphaTestingState::Reset() {
    *this = AlphaTestingState();
}

}  // namespace Renderer
