#pragma once

#include <cstdint>

namespace AssetGen {

// SplitMix64: every asset draws from its own fixed seed, so each run of the
// generator writes the same files.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // [0, 1)
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

    // [-1, 1)
    float Signed() { return static_cast<float>(Unit() * 2.0 - 1.0); }

    // [0, count)
    int Below(int count) { return static_cast<int>(Unit() * count); }

    bool Chance(double probability) { return Unit() < probability; }

private:
    std::uint64_t state_;
};

}  // namespace AssetGen
