#pragma once

#include <cstdint>

// The process's pseudo-random sequence: values 0..32767 from a linear
// congruential generator (state * 214013 + 2531011, bits 16..30). Seeded
// games and replays must draw the same numbers on every machine, so the
// sequence is fixed here rather than left to the C library's rand(), whose
// range and sequence vary. One sequence is shared by every user in the process.
namespace os {

constexpr int kRandMax = 32767;

// Also restores a state that GetRandState gave: the sequence goes on from there.
void SeedRand(std::uint32_t seed);
int Rand();
// The whole state of the sequence, for saves and replays.
std::uint32_t GetRandState();

}  // namespace os
