#include "mygame/generated/MyGame_CollisionActors.h"

namespace CollisionActorShapes {

// Actors 20 to 29: the fade, the cursors, the sky, the sun, the exit sign,
// the title level's machines and its title.
constexpr ActorGroup kCollisionActors2{__FILE__, __LINE__, {
    // 20
    {{{0, 0, {0, 0, 1, -1}}}},
    // 21
    {{{0, 0, {13, -14, 14, -13}}}},
    // 22
    {{{0, 1, {13, -14, 14, -13}}}},
    // 23
    {{{0, 0, {384, 0, 1, -384}}},
     {{0, 0, {384, 0, 1, -384}}},
     {{0, 0, {384, 0, 1, -384}}}},
    // 24
    {{{0, 0, {128, -128, 128, -128}}}},
    // 25
    {{{0, 0, {30, -37, 37, -31}}, {1, 1, {30, -37, 37, -30}}, {2, 3, {30, -37, 37, -31}}},
     {{0, 1, {30, -37, 37, -30}}, {2, 2, {30, -37, 37, -31}}, {3, 3, {30, -37, 37, -30}}},
     {{0, 0, {30, -37, 37, -30}}}},
    // 26
    {{{0, 2, {77, -58, 58, -77}}}},
    // 27
    {{{0, 2, {77, -58, 58, -77}}}},
    // 28
    {{{0, 2, {77, -58, 58, -77}}}},
    // 29
    {{{0, 0, {87, -130, 130, -87}}}},
}};
static_assert(kCollisionActors2.actors.size() == 10 && FramesFollowOn(kCollisionActors2));

}  // namespace CollisionActorShapes
