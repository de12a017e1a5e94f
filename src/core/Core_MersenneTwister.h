#pragma once

#include <array>
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

    // Everything the next draws depend on: the words and the index of the
    // next word drawn (kStateSize: the next draw regenerates the words).
    struct State {
        std::array<std::uint32_t, kStateSize> words{};
        std::uint32_t index = kStateSize;
    };
    State GetState() const;
    // Refuses (false, nothing changed) an index above kStateSize.
    bool SetState(const State& state);

private:
    void Regenerate();

    std::uint32_t m_state[kStateSize];
    int m_index = kStateSize;
    std::uint32_t m_mask = 0xFFFFFFFFu;
};

// The process-wide generator of the game, seeded with the time at start-up.
MersenneTwister& GameRandomGenerator();

}  // namespace Core
