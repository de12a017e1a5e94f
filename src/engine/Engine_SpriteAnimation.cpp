#include "engine/Engine_SpriteAnimation.h"

#include "core/Core_File.h"
#include "engine/Engine_RenderingApplication.h"
#include "renderer/Renderer_TextureManager.h"

namespace Engine {

TUN_DEFINE_CLASS_NAMED(SpriteAnimation, "Engine::SpriteAnimation");

SpriteAnimation::SpriteAnimation(const Core::RefPtr<Renderer::ITexture>& texture, std::uint32_t frameWidth,
                                 std::uint32_t frameHeight, const std::vector<SpriteFrame>& frames)
    : m_frames(frames),
      m_texture(texture),
      m_loopEnd(frames.empty() ? 0 : GetFramesCount() - 1),
      m_frameWidth(frameWidth),
      m_frameHeight(frameHeight) {}

SpriteFrame SpriteAnimation::GetFrame(std::uint32_t index) const {
    return index < m_frames.size() ? m_frames[index] : SpriteFrame{};
}

void SpriteAnimation::Save(Core::File& file) const {
    file.WriteU32(GetFramesCount());
    for (const SpriteFrame& frame : m_frames) {
        file.WriteU32(frame.column);
        file.WriteU32(frame.row);
        file.WriteF32(frame.delay);
    }
    file << m_name;
    file << (m_texture ? m_texture->GetName() : Core::String());
    for (const std::uint32_t value : {m_loopStart, m_loopEnd, m_frameWidth, m_frameHeight}) {
        file.WriteU32(value);
    }
}

void SpriteAnimation::Load(Core::File& file) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    // Frame by frame: a count beyond the data fails before it allocates.
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        SpriteFrame frame;
        file.ReadU32(frame.column);
        file.ReadU32(frame.row);
        file.ReadF32(frame.delay);
        if (!file.HasFailed()) {
            m_frames.push_back(frame);
        }
    }
    Core::String textureName;
    file >> m_name >> textureName;
    for (std::uint32_t* value : {&m_loopStart, &m_loopEnd, &m_frameWidth, &m_frameHeight}) {
        file.ReadU32(*value);
    }
    if (file.HasFailed()) {
        return;
    }
    // The stored name is the path the texture was loaded under on the
    // machine that saved; only its file name still means something here.
    // An animation saved without a texture comes back without one.
    const Core::String fileName = GetFileNameFromPath(textureName);
    const RenderingApplication* application = RenderingApplication::GetInstance();
    if (application != nullptr && !fileName.empty()) {
        m_texture = TextureManager::GetTexture(application->GetAnimationDirectory() + "\\" + fileName, true);
    }
}

}  // namespace Engine
