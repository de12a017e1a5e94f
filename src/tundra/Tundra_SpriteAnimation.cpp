#include "tundra/Tundra_SpriteAnimation.h"

#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_TextureManager.h"

#include <algorithm>

namespace Tundra {

SpriteAnimation::SpriteAnimation(const Core::String& imagePath, int columns, int rows,
                                 const std::vector<float>& delays) {
    const std::uint32_t columnCount = static_cast<std::uint32_t>(std::max(columns, 1));
    const std::uint32_t rowCount = static_cast<std::uint32_t>(std::max(rows, 1));
    const Core::RefPtr<Renderer::ITexture> texture = TextureManager::GetTexture(imagePath, true);
    if (texture) {
        m_frameWidth = static_cast<std::int32_t>(texture->GetWidth() / columnCount);
        m_frameHeight = static_cast<std::int32_t>(texture->GetHeight() / rowCount);
        m_textureName = texture->GetName();
    }
    m_frames.reserve(delays.size());
    for (std::uint32_t i = 0; i < delays.size(); ++i) {
        m_frames.push_back({i % columnCount, i / columnCount, delays[i]});
    }
    m_engineAnimation = TUN_NEW(Engine::SpriteAnimation, texture, static_cast<std::uint32_t>(m_frameWidth),
                                static_cast<std::uint32_t>(m_frameHeight), m_frames);
}

void SpriteAnimation::PushToLua(lua_State* state) const { PushToLuaAs(state, "SpriteAnimation"); }

void SpriteAnimation::SetName(const Core::String& name) {
    m_name = name;
    m_engineAnimation->SetName(name);
}

void SpriteAnimation::SetLoopStartingFrame(std::uint32_t frame) {
    m_loopStart = frame;
    m_engineAnimation->SetLoopStartingFrame(frame);
}

void SpriteAnimation::SetLoopEndingFrame(std::uint32_t frame) {
    m_loopEnd = frame;
    m_engineAnimation->SetLoopEndingFrame(frame);
}

}  // namespace Tundra
