#include "engine/Engine_Sprite.h"

#include "core/Core_File.h"
#include "engine/Engine_Group.h"
#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_SceneGraph.h"

#include <algorithm>

namespace Engine {

TUN_DEFINE_CLASS_NAMED(Sprite, "Engine::Sprite");

namespace {

// The unit quad around the origin, one unit deep behind it.
BoundingBox UnitBox() {
    BoundingBox box;
    Math::SetBoxCorners(box.corners, {-0.5f, -0.5f, -1.0f}, {0.5f, 0.5f, 0.0f});
    return box;
}

}  // namespace

Sprite::Sprite() { GetBoundingVolume().SetBox(UnitBox()); }

Sprite::Sprite(const Core::RefPtrVector<SpriteAnimation>& animations)
    : m_animations(animations), m_color(1.0f, 1.0f, 1.0f, 1.0f) {
    GetBoundingVolume().SetBox(UnitBox());
}

void Sprite::Save(Core::File& file) const {
    Node::Save(file);
    file.WriteU32(GetAnimationsCount());
    for (const Core::RefPtr<SpriteAnimation>& animation : m_animations) {
        file << animation;
    }
    for (const float value : {m_color.r, m_color.g, m_color.b, m_color.a, m_opacity, m_timer, m_speed}) {
        file.WriteF32(value);
    }
    file.WriteU32(m_frame);
    file.WriteU32(m_animation);
    for (const bool flag : {m_endOfAnimation, m_loop, m_playing, m_paused, m_flipHorizontal, m_flipVertical}) {
        file.WriteU8(flag ? 1 : 0);
    }
}

void Sprite::Load(Core::File& file) {
    Node::Load(file);
    std::uint32_t count = 0;
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::RefPtr<SpriteAnimation> animation;
        file >> animation;
        if (animation) {
            m_animations.push_back(std::move(animation));
        }
    }
    for (float* value : {&m_color.r, &m_color.g, &m_color.b, &m_color.a, &m_opacity, &m_timer, &m_speed}) {
        file.ReadF32(*value);
    }
    file.ReadU32(m_frame);
    file.ReadU32(m_animation);
    for (bool* flag : {&m_endOfAnimation, &m_loop, &m_playing, &m_paused, &m_flipHorizontal, &m_flipVertical}) {
        std::uint8_t byte = *flag ? 1 : 0;
        file.ReadU8(byte);
        *flag = byte != 0;
    }
    const Core::RefPtr<SpriteAnimation> current = GetCurrentAnimation();
    const bool animationOutside = !m_animations.empty() && !current;
    const bool frameOutside = current && current->GetFramesCount() > 0 && m_frame >= current->GetFramesCount();
    if (animationOutside || frameOutside) {
        file.SetFailed();
    }
}

void Sprite::Update(float dt) {
    RunUpdateCallback(dt);
    UpdateAnimation(dt);
}

void Sprite::UpdateAnimation(float dt) {
    // Not held: nothing below can let the animation go.
    const SpriteAnimation* animation = m_animation < m_animations.size() ? m_animations[m_animation].Get() : nullptr;
    if (animation == nullptr || animation->GetFramesCount() == 0) {
        return;
    }
    const float scaled = m_speed * dt;
    if (!m_playing) {
        return;
    }
    m_timer += scaled;
    m_endOfAnimation = false;
    if (m_timer > animation->GetFrame(m_frame).delay) {
        // The excess is dropped: at most one frame per update.
        m_timer = 0.0f;
        ++m_frame;
    }
    // The loop window is kept within the frames, whatever was stored.
    const std::uint32_t last = animation->GetFramesCount() - 1;
    const std::uint32_t limit = m_loop ? std::min(animation->GetLoopEndingFrame(), last) + 1 : last + 1;
    const std::uint32_t wrap = m_loop ? std::min(animation->GetLoopStartingFrame(), last) : last;
    if (m_frame >= limit) {
        m_frame = wrap;
        m_endOfAnimation = true;
        if (!m_loop) {
            m_playing = false;
        }
    }
}

void Sprite::SetPlaying(bool playing) {
    if (playing) {
        if (!m_playing && !m_paused && m_endOfAnimation) {
            m_frame = 0;
        }
        m_playing = true;
    } else {
        m_playing = false;
        m_frame = 0;
    }
    m_paused = false;
}

void Sprite::Pause() {
    m_playing = false;
    m_paused = true;
}

void Sprite::SetCurrentFrameIndex(std::uint32_t index, bool force) {
    const Core::RefPtr<SpriteAnimation> animation = GetCurrentAnimation();
    if (!animation || index >= animation->GetFramesCount()) {
        return;
    }
    if (force || index != m_frame) {
        m_frame = index;
        m_timer = 0.0f;
    }
    m_endOfAnimation = false;
}

void Sprite::GoToFirstFrame(bool force) { SetCurrentFrameIndex(0, force); }

void Sprite::GoToLastFrame(bool force) {
    const Core::RefPtr<SpriteAnimation> animation = GetCurrentAnimation();
    if (!animation || animation->GetFramesCount() == 0) {
        return;
    }
    const std::uint32_t last = animation->GetFramesCount() - 1;
    if (force || m_frame != last) {
        m_frame = last;
        m_timer = 0.0f;
    }
    m_endOfAnimation = false;
}

SpriteFrame Sprite::GetCurrentFrame() const {
    const Core::RefPtr<SpriteAnimation> animation = GetCurrentAnimation();
    return animation ? animation->GetFrame(m_frame) : SpriteFrame{};
}

void Sprite::SetCurrentAnimationIndex(std::uint32_t index, bool force) {
    if (index >= m_animations.size() || (!force && index == m_animation)) {
        return;
    }
    m_animation = index;
    if (m_animations[index]->GetFramesCount() > 0) {
        m_endOfAnimation = false;
        m_timer = 0.0f;
        m_frame = 0;
    }
}

std::uint32_t Sprite::FindAnimationIndex(const Core::String& name) const {
    for (std::uint32_t i = 0; i < m_animations.size(); ++i) {
        if (m_animations[i]->GetName() == name) {
            return i;
        }
    }
    return 0;
}

void Sprite::SetCurrentAnimationName(const Core::String& name, bool force) {
    SetCurrentAnimationIndex(FindAnimationIndex(name), force);
}

Core::String Sprite::GetCurrentAnimationName() const {
    const Core::RefPtr<SpriteAnimation> animation = GetCurrentAnimation();
    return animation ? animation->GetName() : Core::String();
}

Core::RefPtr<SpriteAnimation> Sprite::GetAnimation(std::uint32_t index) const {
    return index < m_animations.size() ? m_animations[index] : nullptr;
}

Matrix4 Sprite::FrameMatrix(const Matrix4& parentWorld) const {
    return FrameMatrix(parentWorld, GetAnimation(m_animation).Get());
}

Matrix4 Sprite::FrameMatrix(const Matrix4& parentWorld, const SpriteAnimation* animation) const {
    const float width = animation != nullptr ? static_cast<float>(animation->GetFrameWidth()) : 0.0f;
    const float height = animation != nullptr ? static_cast<float>(animation->GetFrameHeight()) : 0.0f;
    return parentWorld * Matrix4::Scaling(m_flipHorizontal ? -width : width, m_flipVertical ? -height : height, 1.0f);
}

void Sprite::GetWorldBoundingVolume(BoundingBox& out) {
    Matrix4 parentWorld;
    if (GetParent() != nullptr) {
        GetParent()->GetWorldMatrix(parentWorld);
    }
    GetBoundingVolume().Transform(FrameMatrix(parentWorld));
    out = GetBoundingVolume().GetBox();
}

Matrix4 Sprite::GetFrameTextureMatrix() const {
    const SpriteAnimation* animation = DrawableAnimation();
    return animation != nullptr ? FrameTextureMatrix(*animation) : Matrix4();
}

Matrix4 Sprite::FrameTextureMatrix(const SpriteAnimation& animation) const {
    const Renderer::ITexture& texture = *animation.GetTexture();
    const float u = static_cast<float>(animation.GetFrameWidth()) / static_cast<float>(texture.GetWidth());
    const float v = static_cast<float>(animation.GetFrameHeight()) / static_cast<float>(texture.GetHeight());
    const SpriteFrame frame = animation.GetFrame(m_frame);
    const auto column = static_cast<float>(frame.column & 0xFFu);
    const auto row = static_cast<float>(frame.row & 0xFFu);
    // Translation(column u, row v, 0) times Scaling(u, v, 1), bit for bit:
    // every factor of that product is finite and at least +0, so its zero
    // terms add nothing and no sum turns a zero's sign.
    return Matrix4({u, 0.0f, 0.0f, 0.0f, 0.0f, v, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, column * u, row * v, 0.0f, 1.0f});
}

const SpriteAnimation* Sprite::DrawableAnimation() const {
    const SpriteAnimation* animation = m_animation < m_animations.size() ? m_animations[m_animation].Get() : nullptr;
    if (animation == nullptr || animation->GetFramesCount() == 0 || !animation->GetTexture()) {
        return nullptr;
    }
    const Renderer::ITexture& texture = *animation->GetTexture();
    return texture.GetWidth() > 0 && texture.GetHeight() > 0 ? animation : nullptr;
}

void Sprite::DrawSelf() {
    RenderQueue* queue = RenderQueue::GetInstance();
    const SpriteAnimation* animation = DrawableAnimation();
    if (!GetVisible() || queue == nullptr || animation == nullptr) {
        return;
    }
    const Matrix4 world = FrameMatrix(ParentWorldMatrix(), animation);
    const SceneGraph* scene = SceneGraph::GetCurrent();
    if (!IsHUDObject() && scene != nullptr) {
        GetBoundingVolume().Transform(world);
        if (scene->GetFrustum().IsBoxOutside(GetBoundingVolume().GetBox())) {
            return;
        }
    }
    RenderItem* item = queue->FileSprite(IsHUDObject());
    if (item == nullptr) {
        return;
    }
    item->worldMatrix = world;
    item->texture = animation->GetTexture();
    item->color = Color(m_color.r, m_color.g, m_color.b, m_opacity);
    item->textureMatrix = FrameTextureMatrix(*animation);
}

}  // namespace Engine
