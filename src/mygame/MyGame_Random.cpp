#include "mygame/MyGame_Random.h"

#include "core/Core_MersenneTwister.h"

std::int32_t RandomInt(std::int32_t a, std::int32_t b) {
    const double u = static_cast<double>(Core::GameRandomGenerator().Next()) / 4294967296.0;
    const double v = a + (static_cast<double>(b) - a + 1.0) * u;
    return v >= b ? b : static_cast<std::int32_t>(v);
}

float RandomFloat(float a, float b) {
    // Over 2^32 + 1, so u never quite reaches 1 before its rounding to f32.
    const auto u = static_cast<float>(static_cast<double>(Core::GameRandomGenerator().Next()) / 4294967297.0);
    return a + (b - a) * u;
}
