#include "tundra/Tundra_Sprite.h"

#include "collision/Collision_DynamicObject.h"
#include "tundra/Tundra_Viewport.h"

namespace Tundra {
namespace {

// What a getter answers: the node's value, or the fallback without a node.
template <class Result, class Ask>
Result Query(const Core::RefPtr<Engine::Sprite>& node, Result fallback, Ask ask) {
    return node ? static_cast<Result>(ask(*node)) : fallback;
}

// Null without a node or such an animation.
Core::RefPtr<Engine::SpriteAnimation> AnimationAt(const Core::RefPtr<Engine::Sprite>& node, int index) {
    return node && index >= 0 ? node->GetAnimation(static_cast<std::uint32_t>(index))
                              : Core::RefPtr<Engine::SpriteAnimation>();
}

Core::RefPtrVector<Engine::SpriteAnimation> EngineAnimations(
    const std::vector<Core::RefPtr<SpriteAnimation>>& animations) {
    Core::RefPtrVector<Engine::SpriteAnimation> list;
    for (const Core::RefPtr<SpriteAnimation>& animation : animations) {
        if (animation) {
            list.push_back(animation->GetEngineAnimation());
        }
    }
    return list;
}

}  // namespace

Sprite::Sprite(const std::vector<Core::RefPtr<SpriteAnimation>>& animations) {
    SetRenderNode(TUN_NEW(Engine::Sprite, EngineAnimations(animations)));
}

Sprite::Sprite(const Sprite& other)
    : GameObject(other),
      m_collisionActorIndex(other.m_collisionActorIndex),
      m_collisionDataVisible(other.m_collisionDataVisible),
      m_boundingRectangleVisible(other.m_boundingRectangleVisible),
      m_collisionDataColor(other.m_collisionDataColor),
      m_boundingRectangleColor(other.m_boundingRectangleColor) {
    if (other.m_sprite) {
        SetRenderNode(static_cast<Engine::Sprite*>(other.m_sprite->Clone()));
    }
    // Only a copied script instance exists here.
    RunHook("OnClone", true, &other);
}

void Sprite::PushToLua(lua_State* state) const { PushToLuaAs(state, "Sprite"); }

void Sprite::SetRenderNode(const Core::RefPtr<Engine::Sprite>& node) {
    if (m_sprite) {
        GetSceneNode()->RemoveChild(m_sprite.Get());
    }
    m_sprite = node;
    SetRenderSyncTarget(node ? node->TintFirstByte() : nullptr, node ? node->TintLastByte() : nullptr);
    GetSceneNode()->AddChild(m_sprite);
}

void Sprite::EngineUpdate(float dt) {
    if (GetCollisionId() != 0) {
        Collision2D::DynamicObject* object = GetCollisionObject();
        if (object != nullptr && m_sprite) {
            object->SetCurrentCollisionFrame(static_cast<int>(m_sprite->GetCurrentAnimationIndex()),
                                             static_cast<int>(m_sprite->GetCurrentFrameIndex()),
                                             m_sprite->GetFlipHorizontal(), m_sprite->GetFlipVertical());
        }
        UpdateShapeDisplay();
    }
    GameObject::EngineUpdate(dt);
}

void Sprite::Update(float dt) { GameObject::Update(dt); }

void Sprite::RenderSync(float) {
    if (m_sprite) {
        m_sprite->SetOpacity(GetOpacity());
        m_sprite->SetModulationColor(GetModulationColor());
    }
}

void Sprite::SetCurrentAnimationIndex(int index, bool restart) {
    if (m_sprite && index >= 0 && index != GetCurrentAnimationIndex()) {
        m_sprite->SetCurrentAnimationIndex(static_cast<std::uint32_t>(index), restart);
    }
}

int Sprite::GetCurrentAnimationIndex() const {
    return Query(m_sprite, 0, [](const Engine::Sprite& node) { return node.GetCurrentAnimationIndex(); });
}

void Sprite::SetCurrentAnimationName(const Core::String& name, bool restart) {
    if (m_sprite && name != m_sprite->GetCurrentAnimationName()) {
        m_sprite->SetCurrentAnimationName(name, restart);
    }
}

Core::String Sprite::GetCurrentAnimationName() const {
    return Query(m_sprite, Core::String(), [](const Engine::Sprite& node) { return node.GetCurrentAnimationName(); });
}

int Sprite::GetAnimationsCount() const {
    return Query(m_sprite, 0, [](const Engine::Sprite& node) { return node.GetAnimationsCount(); });
}

void Sprite::SetCurrentFrameIndex(int index, bool force) {
    if (m_sprite && index >= 0 && index != GetCurrentFrameIndex()) {
        m_sprite->SetCurrentFrameIndex(static_cast<std::uint32_t>(index), force);
    }
}

int Sprite::GetCurrentFrameIndex() const {
    return Query(m_sprite, 0, [](const Engine::Sprite& node) { return node.GetCurrentFrameIndex(); });
}

void Sprite::GoToFirstFrame() {
    if (m_sprite) {
        m_sprite->GoToFirstFrame(true);
    }
}

void Sprite::GoToLastFrame() {
    if (m_sprite) {
        m_sprite->GoToLastFrame(true);
    }
}

int Sprite::GetFramesCount() const {
    const Core::RefPtr<Engine::SpriteAnimation> animation = AnimationAt(m_sprite, GetCurrentAnimationIndex());
    return animation ? static_cast<int>(animation->GetFramesCount()) : 0;
}

void Sprite::Play(bool play) {
    if (m_sprite) {
        m_sprite->SetPlaying(play);
    }
}

void Sprite::Pause() {
    if (m_sprite) {
        m_sprite->Pause();
    }
}

bool Sprite::IsPlaying() const {
    return Query(m_sprite, false, [](const Engine::Sprite& node) { return node.IsPlaying(); });
}

bool Sprite::IsPaused() const {
    return Query(m_sprite, false, [](const Engine::Sprite& node) { return node.IsPaused(); });
}

void Sprite::SetLoop(bool loop) {
    if (m_sprite) {
        m_sprite->SetLoop(loop);
    }
}

bool Sprite::GetLoop() const {
    return Query(m_sprite, true, [](const Engine::Sprite& node) { return node.GetLoop(); });
}

bool Sprite::IsEndOfAnimation() const {
    return Query(m_sprite, false, [](const Engine::Sprite& node) { return node.IsEndOfAnimation(); });
}

void Sprite::SetAnimationSpeed(float speed) {
    if (m_sprite) {
        // NaN too: a speed that is not at least 0 stands still.
        m_sprite->SetAnimationSpeed(speed >= 0.0f ? speed : 0.0f);
    }
}

float Sprite::GetAnimationSpeed() const {
    return Query(m_sprite, 1.0f, [](const Engine::Sprite& node) { return node.GetAnimationSpeed(); });
}

void Sprite::SetFlipHorizontal(bool flip) {
    if (m_sprite && flip != m_sprite->GetFlipHorizontal()) {
        m_sprite->SetFlipHorizontal(flip);
    }
}

bool Sprite::GetFlipHorizontal() const {
    return Query(m_sprite, false, [](const Engine::Sprite& node) { return node.GetFlipHorizontal(); });
}

void Sprite::SetFlipVertical(bool flip) {
    if (m_sprite && flip != m_sprite->GetFlipVertical()) {
        m_sprite->SetFlipVertical(flip);
    }
}

bool Sprite::GetFlipVertical() const {
    return Query(m_sprite, false, [](const Engine::Sprite& node) { return node.GetFlipVertical(); });
}

int Sprite::GetFrameWidth(int animation) const {
    const Core::RefPtr<Engine::SpriteAnimation> found = AnimationAt(m_sprite, animation);
    return found ? static_cast<int>(found->GetFrameWidth()) : 0;
}

int Sprite::GetFrameHeight(int animation) const {
    const Core::RefPtr<Engine::SpriteAnimation> found = AnimationAt(m_sprite, animation);
    return found ? static_cast<int>(found->GetFrameHeight()) : 0;
}

float Sprite::GetFrameDelay(int animation, int frame) const {
    const Core::RefPtr<Engine::SpriteAnimation> found = AnimationAt(m_sprite, animation);
    return found && frame >= 0 ? found->GetFrame(static_cast<std::uint32_t>(frame)).delay : 0.0f;
}

float Sprite::GetCurrentFrameDelay() const {
    return GetFrameDelay(GetCurrentAnimationIndex(), GetCurrentFrameIndex());
}

void Sprite::SetHUDObject(bool hud) {
    if (m_sprite) {
        m_sprite->SetHUDObject(hud);
    }
}

bool Sprite::IsHUDObject() const {
    return Query(m_sprite, false, [](const Engine::Sprite& node) { return node.IsHUDObject(); });
}

bool Sprite::IsInViewport(const Viewport* viewport) const {
    if (viewport == nullptr || !m_sprite) {
        return false;
    }
    BoundingBox frame;
    m_sprite->GetWorldBoundingVolume(frame);
    return viewport->IsBoxInView(frame);
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::Sprite)
