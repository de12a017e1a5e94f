#pragma once

#include "collision/Collision_CollisionId.h"
#include "mygame/MyGame_LevelContent.h"

#include <cstddef>
#include <initializer_list>

// The game's collision actors as authored: per actor its animations, per
// animation runs of frames sharing one rectangle and one set of shapes, in
// sprite-local units (y up) around the sprite's centre.
namespace CollisionActorShapes {

struct Point {
    float x;
    float y;
};

// Mirrored: the flipped copies of the frame get flipped circles; otherwise
// the plain circle serves every flip.
struct Circle {
    Point centre;
    float radius;
    int userId;
    bool mirror = true;
};

struct Segment {
    Point p1;
    Point p2;
    int userId;
    bool mirror = true;
};

// Frames first to last, inclusive, alike.
struct FrameRange {
    int first;
    int last;
    Collision2D::TunRect rectangle;
    std::initializer_list<Circle> circles{};
    std::initializer_list<Segment> segments{};
};

using Animation = std::initializer_list<FrameRange>;
using Actor = std::initializer_list<Animation>;

// Consecutive actors, made with the source position of the unit that
// holds them.
struct ActorGroup {
    const char* sourceFile;
    int sourceLine;
    std::initializer_list<Actor> actors;
};

// Every animation's ranges start at frame 0 and follow each other without
// gap or overlap.
constexpr bool FramesFollowOn(const ActorGroup& group) {
    for (const Actor& actor : group.actors) {
        for (const Animation& animation : actor) {
            int next = 0;
            for (const FrameRange& range : animation) {
                if (range.first != next || range.last < range.first) {
                    return false;
                }
                next = range.last + 1;
            }
            if (next == 0) {
                return false;
            }
        }
    }
    return true;
}

// The groups in actor order: 0-9, 10-19, ..., 50-59, then 60-64.
extern const ActorGroup kCollisionActors0;
extern const ActorGroup kCollisionActors1;
extern const ActorGroup kCollisionActors2;
extern const ActorGroup kCollisionActors3;
extern const ActorGroup kCollisionActors4;
extern const ActorGroup kCollisionActors5;
extern const ActorGroup kCollisionActors6;

}  // namespace CollisionActorShapes

// Makes the 65 actors in number order: actor k goes into slot k of the
// factory's table and becomes entry k of the running game's collision
// assets, which owns it. The level switch must have emptied that list.
// Without a running game nothing is made.
void BuildCollisionActors(MyLevelFactory& factory);
