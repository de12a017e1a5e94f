#pragma once

#include <cstdint>

// The game's levels by their place in the game's level list.
inline constexpr std::int32_t kTitleLevel = 1;
inline constexpr std::int32_t kStageLevel = 2;
