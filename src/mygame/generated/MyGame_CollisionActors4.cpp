#include "mygame/generated/MyGame_CollisionActors.h"

namespace CollisionActorShapes {

// Actors 40 to 49: the boss warning, the dialog arrow, the stage's button,
// the results panel's enemies and stars, the rolling spike, the cloud and
// the boss's health frame.
constexpr ActorGroup kCollisionActors4{__FILE__, __LINE__, {
    // 40
    {{{0, 1, {26, -206, 206, -26}}}},
    // 41
    {{{0, 0, {82, -282, 282, -82}}}},
    // 42
    {{{0, 0, {8, -16, 16, -8}}}},
    // 43
    {{{0, 2, {30, -114, 114, -30}}}},
    // 44
    {{{0, 8, {48, -48, 48, -48}}},
     {{0, 8, {48, -48, 48, -48}}},
     {{0, 8, {48, -56, 56, -48}}}},
    // 45
    {{{0, 3, {59, -115, 115, -59}}}},
    // 46
    {{{0, 0, {48, -48, 48, -48}, {{{6, -19}, 26, 0}}}, {1, 6, {48, -48, 48, -48}, {{{6, -19}, 29, 0}}}},
     {{0, 6, {48, -48, 48, -48}}},
     {{0, 7, {48, -60, 60, -48}}}},
    // 47: the spike hurts on its first three frames
    {{{0, 2, {47, -47, 47, -47}, {{{0, 0}, 24, 22}}}, {3, 7, {47, -47, 47, -47}}},
     {{0, 2, {47, -47, 47, -47}, {{{0, 0}, 24, 0}}}, {3, 6, {47, -47, 47, -47}}},
     {{0, 2, {47, -47, 47, -47}, {{{0, 0}, 26, 0}}}, {3, 6, {47, -47, 47, -47}}}},
    // 48
    {{{0, 2, {128, -256, 256, -128}}}},
    // 49
    {{{0, 0, {37, -78, 78, -37}}}},
}};
static_assert(kCollisionActors4.actors.size() == 10 && FramesFollowOn(kCollisionActors4));

}  // namespace CollisionActorShapes
