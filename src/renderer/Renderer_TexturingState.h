#pragma once

#include "renderer/Renderer_State.h"

#include <cstdint>

namespace Renderer {

// The settings of one texture unit: environment mode (0 replace, 1 decal,
// 2 modulate, else blend), filter (0 nearest, 1 linear, else nearest without
// mipmaps), wrap in S and T (0 repeat, 1 clamp, 2 clamp to edge, 3 clamp to
// border, else clamp), texturing on, coordinate generation (1: generated,
// else off) and whether the unit's target is one-dimensional. Only the
// unit classes (Renderer_TextureUnitStates.h), which bind it to their unit,
// are made.
class TexturingState : public State {
public:
    TexturingState& operator=(const TexturingState&) = default;

    // Reset keeps coordinate generation and the target's dimension.
    void Reset() override;

    std::int32_t environmentMode = 1;
    std::int32_t filter = 0;
    std::int32_t wrapS = 0;
    std::int32_t wrapT = 0;
    bool enabled = false;
    std::uint8_t coordinateGeneration = 0;
    bool oneDimensional = false;

protected:
    TexturingState() = default;
    TexturingState(const TexturingState&) = default;
};

}  // namespace Renderer
