#include "pal/PAL_Stopwatch.h"

#include "core/Core_Clock.h"

void Stopwatch::Start() {
    if (m_running) {
        return;
    }
    m_running = true;
    if (m_paused) {
        m_paused = false;
    } else {
        m_startTime = Core::GetMilliseconds();
    }
}

void Stopwatch::Reset() {
    m_running = false;
    m_startTime = 0.0;
    m_stopTime = 0.0;
}

double Stopwatch::GetElapsed() const {
    return (m_running ? Core::GetMilliseconds() : m_stopTime) - m_startTime;
}
