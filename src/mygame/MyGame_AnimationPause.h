#pragma once

#include <cstdint>

namespace Tundra {
class Sprite;
}

// Pausing stops the sprite's animation when it plays and records whether it
// did; resuming plays it again only when it played at the pause.
void PauseAnimation(Tundra::Sprite& sprite, bool paused, std::uint8_t& wasPlaying);
