#include "mygame/generated/MyGame_CollisionActors.h"

namespace CollisionActorShapes {

// Actors 30 to 39: the map tiles, the key hint, the title level's player,
// the mascot, the weapons, the bullets, the controls hints and the stage's
// distance bar.
constexpr ActorGroup kCollisionActors3{__FILE__, __LINE__, {
    // 30
    {{{0, 14, {25, -25, 25, -25}}}},
    // 31
    {{{0, 0, {21, -25, 25, -21}}}},
    // 32: the player's circle keeps its place whichever way the sprite faces
    {{{0, 0, {48, -48, 48, -48}, {{{0, -14}, 30, 0, false}}}}},
    // 33
    {{{0, 0, {13, -10, 10, -13}}}},
    // 34
    {{{0, 3, {10, -26, 26, -10}}},
     {{0, 3, {11, -26, 26, -11}}},
     {{0, 0, {11, -26, 26, -11}}, {1, 1, {11, -26, 27, -11}}},
     {{0, 0, {11, -26, 26, -11}}}},
    // 35: the bullets' circles carry id 16
    {{{0, 11, {12, -12, 12, -12}, {{{0, 0}, 9, 16}}}},
     {{0, 0, {12, -12, 12, -12}}, {1, 5, {12, -12, 13, -13}}},
     {{0, 0, {10, -10, 10, -10}, {{{0, 0}, 10, 16}}}},
     {{0, 5, {40, -600, 600, -40}}},
     {{0, 0, {8, -32, 32, -8}, {{{24, 0}, 5, 16}}}},
     {{0, 0, {12, -12, 12, -12}}, {1, 5, {12, -12, 13, -13}}}},
    // 36
    {{{0, 1, {28, -78, 78, -28}}}},
    // 37
    {{{0, 0, {3, -112, 112, -3}}}},
    // 38
    {{{0, 0, {13, -124, 124, -13}}}},
    // 39
    {{{0, 0, {13, -13, 13, -13}}}},
}};
static_assert(kCollisionActors3.actors.size() == 10 && FramesFollowOn(kCollisionActors3));

}  // namespace CollisionActorShapes
