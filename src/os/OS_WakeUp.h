#pragma once

// A descriptor that a poll watches beside its sockets so that another thread
// can end the wait at once (a queued request, a stop). Signals do not pile
// up: any number of them before the next wait wake it once.
namespace os {

class WakeUp {
public:
    WakeUp();
    ~WakeUp();
    WakeUp(const WakeUp&) = delete;
    WakeUp& operator=(const WakeUp&) = delete;

    // False when the descriptor could not be made; then Signal does nothing.
    bool IsValid() const { return m_handle >= 0; }
    // Safe from any thread.
    void Signal();
    // Takes back every signal given so far; true when there was one.
    bool Drain();
    int GetHandle() const { return m_handle; }

private:
    int m_handle;
};

}  // namespace os
