#pragma once

#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"

#include <cstdint>

// Random helpers over the process's C-runtime-style generator (os::Rand).
// Each helper takes exactly one draw t = rand() / 32767 (as a float, 0..1).

void SeedRandom(std::uint32_t seed);

// t * |n| rounded half down, with the sign of n: in [0, n] or [n, 0].
int RandomRoundedInt(int n);
// a + RandomRoundedInt(b - a): in [min(a, b), max(a, b)].
int RandomIntRange(int a, int b);
// a + t * (b - a).
float RandomFloatRange(float a, float b);
// p + (q - p) * t, one t for both coordinates.
Vector2D RandomPointBetween(const Vector2D& p, const Vector2D& q);
// c1 + (c2 - c1) * t per channel, one t for all four.
Color RandomColorBetween(const Color& c1, const Color& c2);
