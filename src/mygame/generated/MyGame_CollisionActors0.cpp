#include "mygame/generated/MyGame_CollisionActors.h"

namespace CollisionActorShapes {

// Actors 0 to 9: the intro's logos, the weapon bars, the health bar's
// colour, the drop, the weapon-selection frame and the frame panel's pieces.
constexpr ActorGroup kCollisionActors0{__FILE__, __LINE__, {
    // 0
    {{{0, 0, {75, -258, 258, -75}}}},
    // 1
    {{{0, 0, {90, -400, 400, -90}}}},
    // 2
    {{{0, 1, {159, -264, 264, -159}}}},
    // 3
    {{{0, 3, {38, -21, 21, -38}}}},
    // 4
    {{{0, 0, {38, -21, 21, -38}}},
     {{0, 0, {38, -21, 21, -38}}},
     {{0, 0, {38, -21, 21, -38}}},
     {{0, 0, {38, -21, 21, -38}}}},
    // 5
    {{{0, 0, {14, -53, 53, -14}}}},
    // 6
    {{{0, 3, {32, -32, 32, -32}, {{{0, 0}, 32, 0}}}}},
    // 7
    {{{0, 0, {10, -10, 10, -10}, {{{0, 0}, 10, 16}}}}},
    // 8
    {{{0, 0, {0, 0, 1, -1}}}},
    // 9
    {{{0, 0, {4, 0, 1, -5}}}},
}};
static_assert(kCollisionActors0.actors.size() == 10 && FramesFollowOn(kCollisionActors0));

}  // namespace CollisionActorShapes
