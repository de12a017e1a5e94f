#pragma once

#include <cstdint>

namespace Core {

// The MT19937 generator behind the game's own random draws.
class MersenneTwister {
public:
    static constexpr int kStateSize = 624;

    explicit MersenneTwister(std::uint32_t seed = 5489u);

    // word 0 = seed; word i = 1812433253 * (word(i-1) ^ (word(i-1) >> 30)) + i;
    // the next draw regenerates the whole state.
    void Seed(std::uint32_t seed);
    std::uint32_t Next();

private:
    void Regenerate();

    std::uint32_t m_state[kStateSize];
    int m_index = kStateSize;
    std::uint32_t m_mask = 0xFFFFFFFFu;
};

// The process-wide generator of the game, seeded with the time at start-up.
MersenneTwister& GameRandomGenerator();

}  // namespace Core
