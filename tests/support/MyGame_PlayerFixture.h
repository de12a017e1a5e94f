#pragma once

#include "math/Math_Vector2D.h"
#include "os/OS_VirtualKeys.h"
#include "support/MyGame_StageFixture.h"

#include <cstdint>

class Player;

namespace mygametest {

// Stage 0 with its player resting on a still, flat ground above the
// stage's own: the terrain's scrolling steps and blocks pass below, so a
// player test sees only what the player does. The cursor is to its right.
class PlayerFixture : public StageFixture {
protected:
    // The top tiles' y of the flat ground: two rows above the highest block
    // the terrain raises.
    static constexpr float kFlatGroundY = 392.0f;
    static const os::VirtualKey kLeftKey;
    static const os::VirtualKey kRightKey;
    static const os::VirtualKey kJumpKey;

    void SetUp() override;
    // Releases the control keys, held or not.
    void TearDown() override;

    std::int32_t MovementState() const;
    Vector2D BodyVelocity() const;
    // Put on the ground at x, one frame stepped.
    void StandAt(float x);

    Player* m_player = nullptr;
    // Where the player rests on the ground.
    float m_groundY = 0.0f;
};

}  // namespace mygametest
