#pragma once

#include <cstdint>

namespace Tundra {
class Sound;
}
class Player;

// The game's process-wide values: the control keys that the players and the
// title read, the pause flag every gameplay object honours, and links into
// the current level that the level change clears.
struct GameGlobals {
    // Ids of the engine's key table (A, D and W by default).
    std::int32_t leftKeyId = 53;
    std::int32_t rightKeyId = 56;
    std::int32_t jumpKeyId = 75;
    std::uint8_t paused = 0;
    // The current level's "Player"; not owned.
    Player* player = nullptr;
    // Effect sounds of the current level (they live in its world layer).
    Tundra::Sound* buttonHoverSound = nullptr;
    Tundra::Sound* playerHitSound = nullptr;
    Tundra::Sound* playerDeathSound = nullptr;
    Tundra::Sound* playerCollectSound = nullptr;

    // Forgets every link into the level (its objects are about to go).
    void ForgetLevelLinks();
};

GameGlobals& Globals();
