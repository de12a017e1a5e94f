#include "mygame/generated/MyGame_CollisionActors.h"

#include "collision/Collision_CollisionActor.h"
#include "core/Core_TrackedMemory.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "tundra/Tundra_Game.h"

#include <cassert>
#include <memory>

namespace {

using namespace CollisionActorShapes;

struct FreeActor {
    void operator()(Collision2D::CollisionActor* actor) const { Collision2D::FreeCollisionActor(actor); }
};
using HeldActor = std::unique_ptr<Collision2D::CollisionActor, FreeActor>;

Vector2D ToVector(const Point& point) { return {point.x, point.y}; }

template <class T>
std::unique_ptr<T> MakeTracked(const ActorGroup& group) {
    return std::unique_ptr<T>(Core::NewTracked<T>(group.sourceFile, group.sourceLine));
}

std::unique_ptr<Collision2D::CollisionFrame> MakeFrame(const ActorGroup& group, const FrameRange& range) {
    auto frame = MakeTracked<Collision2D::CollisionFrame>(group);
    frame->SetBoundingRectangle(range.rectangle, true);
    for (const Circle& circle : range.circles) {
        frame->AddCircle(ToVector(circle.centre), circle.radius, circle.userId, circle.mirror);
    }
    for (const Segment& segment : range.segments) {
        frame->AddLineSegment(ToVector(segment.p1), ToVector(segment.p2), segment.userId, segment.mirror);
    }
    return frame;
}

// Each part joins its owner as soon as it exists, so that a failed
// allocation frees the whole unfinished actor.
HeldActor MakeActor(const ActorGroup& group, const Actor& shapes) {
    HeldActor actor(MakeTracked<Collision2D::CollisionActor>(group).release());
    for (const Animation& ranges : shapes) {
        auto animation = MakeTracked<Collision2D::CollisionAnimation>(group);
        actor->AddCollisionAnimation(animation.get());
        Collision2D::CollisionAnimation& filled = *animation.release();
        for (const FrameRange& range : ranges) {
            for (int index = range.first; index <= range.last; ++index) {
                auto frame = MakeFrame(group, range);
                filled.AddCollisionFrame(frame.get());
                frame.release();
            }
        }
    }
    return actor;
}

constexpr const ActorGroup* kGroups[] = {&kCollisionActors0, &kCollisionActors1, &kCollisionActors2,
                                         &kCollisionActors3, &kCollisionActors4, &kCollisionActors5,
                                         &kCollisionActors6};

}  // namespace

void BuildCollisionActors(MyLevelFactory& factory) {
    Tundra::Game* game = Tundra::Game::GetInstance();
    if (game == nullptr) {
        return;
    }
    // Sprites name their actor by its index in this list.
    assert(game->GetCollisionAssets().empty() && "collision actors built twice for one level");
    CollisionActorTable& table = factory.GetCollisionActors();
    std::size_t number = 0;
    for (const ActorGroup* group : kGroups) {
        for (const Actor& shapes : group->actors) {
            HeldActor actor = MakeActor(*group, shapes);
            game->AddCollisionAssets(actor.get());
            table[number++] = actor.release();
        }
    }
    assert(number == kCollisionActorCount);
}
