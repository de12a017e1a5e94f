#include "collision/Collision_CollisionActor.h"

#include "collision/Collision_Stream.h"
#include "core/Core_File.h"

namespace Collision2D {

const CollisionFrame* CollisionAnimation::GetFrame(int index) const {
    if (index < 0 || index >= GetFrameCount()) {
        return nullptr;
    }
    return m_frames[static_cast<std::size_t>(index)];
}

const CollisionAnimation* CollisionActor::GetAnimation(int index) const {
    if (index < 0 || index >= GetAnimationCount()) {
        return nullptr;
    }
    return m_animations[static_cast<std::size_t>(index)];
}

const CollisionFrame* CollisionActor::GetFrame(int animation, int frame) const {
    const CollisionAnimation* selected = GetAnimation(animation);
    return selected == nullptr ? nullptr : selected->GetFrame(frame);
}

void CollisionActor::Save(Core::File& file) const {
    file.WriteU32(static_cast<std::uint32_t>(m_animations.size()));
    for (const CollisionAnimation* animation : m_animations) {
        file.WriteU32(static_cast<std::uint32_t>(animation->m_frames.size()));
        for (const CollisionFrame* frame : animation->m_frames) {
            frame->Save(file);
        }
    }
}

void CollisionActor::Load(Core::File& file) {
    FreeContents();
    const std::uint32_t animations = ReadCount(file, kMaxActorEntries);
    for (std::uint32_t a = 0; a < animations && !file.HasFailed(); ++a) {
        auto* animation = new CollisionAnimation;
        m_animations.push_back(animation);
        const std::uint32_t frames = ReadCount(file, kMaxActorEntries);
        for (std::uint32_t f = 0; f < frames && !file.HasFailed(); ++f) {
            auto* frame = new CollisionFrame;
            animation->m_frames.push_back(frame);
            frame->Load(file);
        }
    }
    if (file.HasFailed()) {
        FreeContents();
    }
}

void CollisionActor::FreeContents() {
    for (CollisionAnimation* animation : m_animations) {
        for (CollisionFrame* frame : animation->m_frames) {
            delete frame;
        }
        delete animation;
    }
    m_animations.clear();
}

void FreeCollisionActor(CollisionActor* actor) {
    if (actor == nullptr) {
        return;
    }
    actor->FreeContents();
    delete actor;
}

}  // namespace Collision2D
