#pragma once

#include "collision/Collision_Allocated.h"
#include "collision/Collision_CollisionFrame.h"

#include <vector>

namespace Core {
class File;
}

namespace Collision2D {

// The frames of one sprite animation, frame j for frame j. It holds plain
// pointers: the actor tree is freed as a whole by FreeCollisionActor.
class CollisionAnimation : public Allocated {
public:
    void AddCollisionFrame(CollisionFrame* frame) { m_frames.push_back(frame); }
    int GetFrameCount() const { return static_cast<int>(m_frames.size()); }
    // Null for an index the animation lacks.
    const CollisionFrame* GetFrame(int index) const;

private:
    friend class CollisionActor;
    std::vector<CollisionFrame*> m_frames;
};

// The authored shapes of one kind of sprite: animation i for the sprite's
// animation i.
class CollisionActor : public Allocated {
public:
    CollisionActor() = default;
    CollisionActor(const CollisionActor&) = delete;
    CollisionActor& operator=(const CollisionActor&) = delete;

    void AddCollisionAnimation(CollisionAnimation* animation) { m_animations.push_back(animation); }
    int GetAnimationCount() const { return static_cast<int>(m_animations.size()); }
    const CollisionAnimation* GetAnimation(int index) const;
    // Null when the animation or the frame is missing.
    const CollisionFrame* GetFrame(int animation, int frame) const;

    // Animation count, then per animation its frame count and frames.
    void Save(Core::File& file) const;
    // Replaces the whole tree (the old one is freed). A stream that fails
    // leaves the actor empty, with everything the load made freed.
    void Load(Core::File& file);

private:
    friend void FreeCollisionActor(CollisionActor* actor);
    void FreeContents();
    std::vector<CollisionAnimation*> m_animations;
};

// Deletes every frame of every animation, each animation, then the actor.
// Null does nothing.
void FreeCollisionActor(CollisionActor* actor);

}  // namespace Collision2D
