#include "renderer/Renderer_TexturingState.h"

namespace Renderer {

void TexturingState::Reset() {
    environmentMode = 1;
    filter = 0;
    wrapS = 0;
    wrapT = 0;
    enabled = false;
}

}  // namespace Renderer
