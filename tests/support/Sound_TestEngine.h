#pragma once

#include "support/MovingClock.h"

#include <cstdint>
#include <string>
#include <vector>

// Helpers for tests that run the sound engine and its streaming thread, which
// sleeps on the Core clock: they install a MovingClock.
namespace testsupport {

// The samples the wave-file writer wrote, as the test configuration sets it
// up (mono, 16-bit; the file named by the configuration ALSOFT_CONF names).
// Complete only once the device is closed. Empty when there is none.
std::vector<std::int16_t> ReadWaveWriterOutput();
// The configured output rate of the wave-file writer.
constexpr int kWaveWriterRate = 22050;

}  // namespace testsupport
