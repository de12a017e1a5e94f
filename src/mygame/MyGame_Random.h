#pragma once

#include <cstdint>

// The game's own draws, each from one output of the shared MT19937
// (Core::GameRandomGenerator). The formulas and the order of draws are part
// of every algorithm that uses them: the same seed gives the same play.

// An integer in [a, b], both ends included (a <= b). Defined for every pair
// of i32: the range is formed in double.
std::int32_t RandomInt(std::int32_t a, std::int32_t b);
// a + (b - a) * u with u in [0, 1] (u = output / (2^32 + 1), rounded to f32).
float RandomFloat(float a, float b);
