#pragma once

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_TexturingState.h"

namespace Renderer {

// One class per texture unit: a pass holds at most one state per class, so
// each unit keeps its own settings. They reset as TexturingState does.
#define TUN_TEXTURE_UNIT_STATE(unit)                                                                   \
    class TextureUnit##unit##State                                                                     \
        : public BoundState<TextureUnit##unit##State, TexturingState, TexturingState,                  \
                            &IRenderer::SetTextureUnit##unit##State, &IRenderer::GetTextureUnit##unit##State> { \
        TUN_DECLARE_CLASS(TextureUnit##unit##State);                                                   \
                                                                                                       \
        void Reset() override { TexturingState::Reset(); }                                             \
    };

TUN_TEXTURE_UNIT_STATE(0)
TUN_TEXTURE_UNIT_STATE(1)
TUN_TEXTURE_UNIT_STATE(2)
TUN_TEXTURE_UNIT_STATE(3)
TUN_TEXTURE_UNIT_STATE(4)
TUN_TEXTURE_UNIT_STATE(5)
TUN_TEXTURE_UNIT_STATE(6)
TUN_TEXTURE_UNIT_STATE(7)

#undef TUN_TEXTURE_UNIT_STATE

}  // namespace Renderer
