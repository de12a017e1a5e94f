#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_SpriteAnimation.h"

#include <cstdint>
#include <vector>

namespace Tundra {

// One named animation cut from a sprite sheet: the image is divided into a
// grid of equal cells and the animation plays one cell per delay, in grid
// order. It wraps the engine animation a sprite's render node plays. Not
// registered: streams carry the engine animation, never this wrapper.
class SpriteAnimation : public Core::Object {
public:
    // Frame i is cell (i mod columns, i div columns) shown for delays[i];
    // more delays than cells are kept. A column or row count below 1 counts
    // as 1; without a texture cache (no renderer) the frames are 0 x 0.
    SpriteAnimation(const Core::String& imagePath, int columns, int rows, const std::vector<float>& delays);

    void PushToLua(lua_State* state) const override;

    void SetName(const Core::String& name);
    const Core::String& GetName() const { return m_name; }
    const Core::String& GetTextureName() const { return m_textureName; }
    const std::vector<Engine::SpriteFrame>& GetFrames() const { return m_frames; }
    int GetFrameWidth() const { return m_frameWidth; }
    int GetFrameHeight() const { return m_frameHeight; }
    void SetLoopStartingFrame(std::uint32_t frame);
    std::uint32_t GetLoopStartingFrame() const { return m_loopStart; }
    void SetLoopEndingFrame(std::uint32_t frame);
    std::uint32_t GetLoopEndingFrame() const { return m_loopEnd; }

    const Core::RefPtr<Engine::SpriteAnimation>& GetEngineAnimation() const { return m_engineAnimation; }

private:
    Core::RefPtr<Engine::SpriteAnimation> m_engineAnimation;
    std::vector<Engine::SpriteFrame> m_frames;
    Core::String m_textureName;
    Core::String m_name;
    std::int32_t m_frameWidth = 0;
    std::int32_t m_frameHeight = 0;
    std::uint32_t m_loopStart = 0;
    std::uint32_t m_loopEnd = 0;
};

}  // namespace Tundra
