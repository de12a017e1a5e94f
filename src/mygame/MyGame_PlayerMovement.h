#pragma once

#include <cstdint>

// The states of the player's "MovementStateMachine", in array order.
enum PlayerMovementState : std::int32_t {
    kMovementIdle = 0,
    kMovementInAir = 1,
    kMovementJump = 2,
    kMovementWalking = 3,
};
