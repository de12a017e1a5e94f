#pragma once

#include <cstdint>

// The C runtime's pseudo-random generator as the engine expects it: values
// 0..32767 from the classic linear congruential sequence. glibc's rand()
// reaches 2^31-1 and a different sequence, so the engine never calls it.
// One sequence is shared by every user in the process.
namespace os {

constexpr int kRandMax = 32767;

void SeedRand(std::uint32_t seed);
int Rand();

}  // namespace os
