#include "core/Core_Random.h"

#include "os/OS_Random.h"

#include <algorithm>
#include <cstdint>

namespace {

float DrawUnit() { return static_cast<float>(os::Rand() / static_cast<double>(os::kRandMax)); }

// The rounded draw for a magnitude that may not fit an int (|INT_MIN|, or a
// range spanning the whole int domain); the arithmetic is done in 64 bits.
std::int64_t RoundedDraw(std::int64_t n) {
    const std::int64_t magnitude = n < 0 ? -n : n;
    const float v = DrawUnit() * static_cast<float>(magnitude);
    const auto whole = static_cast<std::int64_t>(v);
    // A fraction of exactly 0.5 rounds down.
    const std::int64_t rounded = (v - static_cast<float>(whole) > 0.5f) ? whole + 1 : whole;
    // Float rounding of a huge magnitude may overshoot it by one step.
    const std::int64_t bounded = std::min(rounded, magnitude);
    return n < 0 ? -bounded : bounded;
}

}  // namespace

void SeedRandom(std::uint32_t seed) { os::SeedRand(seed); }

int RandomRoundedInt(int n) {
    const std::int64_t r = RoundedDraw(n);
    // Only n = INT_MIN can give 2^31 in magnitude; keep it inside [n, 0].
    return static_cast<int>(std::max<std::int64_t>(r, INT32_MIN));
}

int RandomIntRange(int a, int b) {
    return static_cast<int>(static_cast<std::int64_t>(a) + RoundedDraw(static_cast<std::int64_t>(b) - a));
}

float RandomFloatRange(float a, float b) { return a + DrawUnit() * (b - a); }

Vector2D RandomPointBetween(const Vector2D& p, const Vector2D& q) { return p + (q - p) * DrawUnit(); }

Color RandomColorBetween(const Color& c1, const Color& c2) {
    const float t = DrawUnit();
    return {c1.r + (c2.r - c1.r) * t, c1.g + (c2.g - c1.g) * t, c1.b + (c2.b - c1.b) * t,
            c1.a + (c2.a - c1.a) * t};
}
