#pragma once

#include "core/Core_Clock.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Helpers for tests that run the sound engine and its streaming thread.
namespace testsupport {

// Puts the Core clock on real time while alive: the streaming thread sleeps
// on the Core clock, and the headless one stands still. Install it before
// the engine starts its thread and let it go after the engine.
class RealTimeCoreClock {
public:
    RealTimeCoreClock();
    ~RealTimeCoreClock();
    RealTimeCoreClock(const RealTimeCoreClock&) = delete;
    RealTimeCoreClock& operator=(const RealTimeCoreClock&) = delete;

private:
    const Core::ClockFunction m_previous;
};

// Polls every millisecond until the condition holds or the time is up; the
// condition's last answer.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// The samples the wave-file writer wrote, as the test configuration sets it
// up (mono, 16-bit; the file named by the configuration ALSOFT_CONF names).
// Complete only once the device is closed. Empty when there is none.
std::vector<std::int16_t> ReadWaveWriterOutput();
// The configured output rate of the wave-file writer.
constexpr int kWaveWriterRate = 22050;

}  // namespace testsupport
