#pragma once

// Measures elapsed milliseconds on the Core clock.
class Stopwatch {
public:
    // Starts a stopped stopwatch; a paused one resumes with its start time
    // kept. Starting a running stopwatch does nothing.
    void Start();
    // Stopped, with start and stop times 0; the paused flag is left alone.
    void Reset();
    // Now minus start while running, stop minus start otherwise.
    double GetElapsed() const;

    bool IsRunning() const { return m_running; }

private:
    double m_startTime = 0.0;
    double m_stopTime = 0.0;
    bool m_running = false;
    bool m_paused = false;
};
