#include "core/Core_MersenneTwister.h"

#include <algorithm>
#include <ctime>
#include <iterator>

namespace Core {
namespace {

constexpr int kShift = 397;
constexpr std::uint32_t kMatrixA = 0x9908B0DFu;
constexpr std::uint32_t kUpperMask = 0x80000000u;
constexpr std::uint32_t kLowerMask = 0x7FFFFFFFu;

}  // namespace

MersenneTwister::MersenneTwister(std::uint32_t seed) { Seed(seed); }

void MersenneTwister::Seed(std::uint32_t seed) {
    m_state[0] = seed;
    for (int i = 1; i < kStateSize; ++i) {
        const std::uint32_t previous = m_state[i - 1];
        m_state[i] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<std::uint32_t>(i);
    }
    m_index = kStateSize;
    m_mask = 0xFFFFFFFFu;
}

void MersenneTwister::Regenerate() {
    for (int i = 0; i < kStateSize; ++i) {
        const std::uint32_t y = (m_state[i] & kUpperMask) | (m_state[(i + 1) % kStateSize] & kLowerMask);
        m_state[i] = m_state[(i + kShift) % kStateSize] ^ (y >> 1) ^ ((y & 1u) != 0 ? kMatrixA : 0u);
    }
    m_index = 0;
}

std::uint32_t MersenneTwister::Next() {
    if (m_index >= kStateSize) {
        Regenerate();
    }
    std::uint32_t y = m_state[m_index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y & m_mask;
}

MersenneTwister::State MersenneTwister::GetState() const {
    State state;
    std::copy(std::begin(m_state), std::end(m_state), state.words.begin());
    state.index = static_cast<std::uint32_t>(m_index);
    return state;
}

bool MersenneTwister::SetState(const State& state) {
    if (state.index > static_cast<std::uint32_t>(kStateSize)) {
        return false;
    }
    std::copy(state.words.begin(), state.words.end(), std::begin(m_state));
    m_index = static_cast<int>(state.index);
    return true;
}

MersenneTwister& GameRandomGenerator() {
    static MersenneTwister generator(static_cast<std::uint32_t>(std::time(nullptr)));
    return generator;
}

namespace {
// Seed it during static initialisation, before the entry point runs.
[[maybe_unused]] const bool g_seededAtStartup = (GameRandomGenerator(), true);
}  // namespace

}  // namespace Core
