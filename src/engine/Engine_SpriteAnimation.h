#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "renderer/Renderer_ITexture.h"

#include <cstdint>
#include <vector>

namespace Engine {

// One cell of a sprite sheet and how long it shows. Cells are counted from
// the sheet's left and from its BOTTOM row (texture row 0), and only their
// low eight bits are used.
struct SpriteFrame {
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    // Seconds.
    float delay = 0.0f;

    friend bool operator==(const SpriteFrame&, const SpriteFrame&) = default;
};

// A named frame sequence on one sprite-sheet texture, shared by the sprites
// that play it. The loop window is the range a looping sprite repeats.
class SpriteAnimation : public Core::Object {
    TUN_DECLARE_CLASS(SpriteAnimation);

    // What a stream reader starts from: no frames, no texture, zero sizes.
    SpriteAnimation() = default;
    // Loops over every frame.
    SpriteAnimation(const Core::RefPtr<Renderer::ITexture>& texture, std::uint32_t frameWidth,
                    std::uint32_t frameHeight, const std::vector<SpriteFrame>& frames);

    // Frames, name, the texture's name, loop window, frame size. Reading
    // loads the texture from the rendering application's animation directory
    // by the file-name part of the stored name, so that a save names no
    // folder outside it; without an application or a name, no texture.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    void SetName(const Core::String& name) { m_name = name; }
    const Core::String& GetName() const { return m_name; }
    std::uint32_t GetFramesCount() const { return static_cast<std::uint32_t>(m_frames.size()); }
    // A zero record past the last frame.
    SpriteFrame GetFrame(std::uint32_t index) const;

    // Stored as given; a looping sprite keeps the window within its frames.
    void SetLoopStartingFrame(std::uint32_t frame) { m_loopStart = frame; }
    std::uint32_t GetLoopStartingFrame() const { return m_loopStart; }
    void SetLoopEndingFrame(std::uint32_t frame) { m_loopEnd = frame; }
    std::uint32_t GetLoopEndingFrame() const { return m_loopEnd; }

    // Pixels. Changing them crops the frame for every sprite that plays it.
    std::uint32_t GetFrameWidth() const { return m_frameWidth; }
    std::uint32_t GetFrameHeight() const { return m_frameHeight; }
    void SetFrameWidth(std::uint32_t width) { m_frameWidth = width; }
    void SetFrameHeight(std::uint32_t height) { m_frameHeight = height; }

    const Core::RefPtr<Renderer::ITexture>& GetTexture() const { return m_texture; }

private:
    std::vector<SpriteFrame> m_frames;
    Core::String m_name;
    Core::RefPtr<Renderer::ITexture> m_texture;
    std::uint32_t m_loopStart = 0;
    std::uint32_t m_loopEnd = 0;
    std::uint32_t m_frameWidth = 0;
    std::uint32_t m_frameHeight = 0;
};

}  // namespace Engine
