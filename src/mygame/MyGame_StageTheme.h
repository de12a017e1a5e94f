#pragma once

#include <cstdint>

// The theme (0 to 2) of the profile's current stage, which chooses the
// stage's tiles and cloud tint; 0 without a running game.
std::int32_t GetCurrentStageTheme();
