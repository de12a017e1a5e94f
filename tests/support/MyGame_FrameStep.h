#pragma once

// One frame of the game's 60 Hz clock, the step the game's tests advance by.
inline constexpr float kDt = 1.0f / 60.0f;
