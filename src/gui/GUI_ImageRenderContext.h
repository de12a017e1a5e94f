#pragma once

#include "engine/Engine_TextRenderContext.h"
#include "engine/Engine_UnregisteredClass.h"

#include <cstdint>

namespace GUI {

// One skin piece's quad. Before it is drawn it hands its filter to its
// effect, so the nearest and the linear image effect can be shared by all.
class ImageRenderContext : public Engine::TextRenderContext {
    TUN_DECLARE_UNREGISTERED_CLASS(ImageRenderContext);

    ImageRenderContext() = default;

    void Reset() override;
    // When the effect is an image effect: its filterSelector := ours, then
    // its UpdateStates.
    void UpdateEffect() override;

    // 0 nearest, 1 linear.
    std::uint32_t filterSelector = 0;
};

}  // namespace GUI
