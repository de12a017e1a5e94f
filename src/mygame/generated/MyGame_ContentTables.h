#pragma once

#include "mygame/generated/MyGame_ContentRows.h"

#include <cstdint>

// The game's authored rows of level `level` (0 the intro, 1 the title level,
// 2 a stage), layer by layer in creation order; empty past the last level.
const LevelRows& ContentLevelRows(std::uint32_t level);
