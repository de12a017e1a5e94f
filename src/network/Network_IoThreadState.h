#pragma once

#include "network/Network_DatagramShares.h"
#include "network/Network_Event.h"
#include "os/OS_SocketPoll.h"
#include "os/OS_WakeUp.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Network {

class Tun_Socket;

// What one pass of a session's I/O thread waits on, and the events it
// gathered under the list lock to post once the lock is released. Kept
// across passes so that its vectors only grow.
class IoThreadState {
public:
    enum class Purpose : std::uint8_t {
        Read,        // readable: accept, a stream's bytes, a datagram
        Connect,     // a connect under way finished
        QueuedSend,  // the first queued message for this target may go
        Output,      // waiting output may be written
    };
    struct Watch {
        Tun_Socket* record;
        Purpose purpose;
    };

    bool IsValid() const { return m_wakeUp.IsValid(); }
    // Ends the current or next wait at once; any thread.
    void Wake() { m_wakeUp.Signal(); }

    void ClearWatches();
    void AddWatch(Tun_Socket& record, Purpose purpose);
    bool IsWatched(const Tun_Socket& record, Purpose purpose) const;
    // Waits for a watched socket or a wake-up; timeoutMs as PollSockets.
    // The number of sockets ready, 0 when none.
    int Wait(std::int32_t timeoutMs);
    std::size_t GetWatchCount() const { return m_watches.size(); }
    const Watch& GetWatch(std::size_t index) const { return m_watches[index]; }
    // What the last wait reported for the watch (PollEvent bits).
    std::uint16_t GetReady(std::size_t index) const { return m_entries[index].returned; }

    Tun_EventList gathered;
    // A stream read's completed messages.
    std::vector<RawMessage> messages;
    // The admitted peers of the connections, and the peers of those this
    // side made, as datagram senders.
    std::vector<DatagramShares::Sender> connectionPeers;

private:
    os::WakeUp m_wakeUp;
    std::vector<os::PollEntry> m_entries;
    std::vector<Watch> m_watches;
};

}  // namespace Network
