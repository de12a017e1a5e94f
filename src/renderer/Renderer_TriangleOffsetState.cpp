#include "renderer/Renderer_TriangleOffsetState.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(TriangleOffsetState, "Renderer::TriangleOffsetState");

void TriangleOffsetState::Reset() {
    *this = TriangleOffsetState();
}

}  // namespace Renderer
