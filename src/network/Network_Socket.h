#pragma once

#include "network/Network_Address.h"
#include "network/Network_Event.h"
#include "network/Network_StreamState.h"

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

class ThreadManager;

namespace Network {

// Service flags: who serves a socket.
// The session's I/O thread reads, accepts and turns what arrives into events.
constexpr std::uint32_t kServiceByIoThread = 1;
// SendMessage queues the message for the I/O thread instead of sending it.
constexpr std::uint32_t kServiceQueuedSend = 2;

// Bytes a connection may have waiting to be written; more closes it, since a
// peer that far behind no longer reads.
constexpr std::size_t kMaxWaitingOutput = 1024 * 1024;

// Whom a stretch of waiting output is for: the session's own messages, or
// the peer (by endpoint key) whose message it forwards.
using OutputSource = std::uint64_t;
constexpr OutputSource kOwnOutput = 0;
OutputSource ForwardedOutputSource(const Tun_Address& peer);

// Whether a message (header and payload) is a well-formed join request.
// Called on the I/O thread.
using JoinRequestCheck = bool (*)(const std::uint8_t* message, std::uint32_t length);

// One socket of a session. The session's list lock guards the lists that hold
// records and the flags that lookups read; the receive mutex guards the
// receive buffer and the stream state, the send mutex the send buffer and
// the waiting output. Only the I/O thread frees a record, and only once no
// caller uses it.
class Tun_Socket {
public:
    enum BufferIndex { kReceiveBuffer = 0, kSendBuffer = 1 };

    Tun_Socket() = default;
    Tun_Socket(const Tun_Socket&) = delete;
    Tun_Socket& operator=(const Tun_Socket&) = delete;
    // Frees the messages of the held events.
    ~Tun_Socket();

    // Keeps the buffer when it holds size bytes already, else replaces it by
    // one of exactly size bytes (contents not kept). False when that fails.
    bool EnsureBuffer(BufferIndex index, std::size_t size);
    std::uint8_t* GetBuffer(BufferIndex index) { return m_buffers[index].data(); }
    std::size_t GetCapacity(BufferIndex index) const { return m_buffers[index].size(); }

    // The receive, send and count mutexes; false (none left) when one
    // cannot be made.
    bool CreateLocks(ThreadManager& threads);
    void DestroyLocks(ThreadManager& threads);
    pthread_mutex_t* GetReceiveLock() const { return m_receiveLock; }
    pthread_mutex_t* GetSendLock() const { return m_sendLock; }

    // Callers using the record outside the list lock.
    void AddUser();
    void RemoveUser();
    std::int32_t GetUserCount() const;
    // Bytes of the socket's messages posted as events and not yet handled;
    // their events name the record, so it is not freed while any wait.
    void AddUndelivered(std::size_t bytes) { m_undelivered.fetch_add(bytes, std::memory_order_relaxed); }
    // The bytes still waiting after these were handled.
    std::size_t RemoveUndelivered(std::size_t bytes) {
        return m_undelivered.fetch_sub(bytes, std::memory_order_acq_rel) - bytes;
    }
    std::size_t GetUndelivered() const { return m_undelivered.load(std::memory_order_acquire); }

    bool IsStream() const { return type == static_cast<std::int32_t>(os::SocketType::Stream); }
    bool IsNonBlocking() const { return (optionFlags & os::kSocketOptionNonBlocking) != 0; }

    // Waiting output, under the send lock: bytes of stream messages the
    // socket has not taken yet, later messages behind them; the I/O thread
    // writes them when the socket turns writable. Append is false, taking
    // nothing, when the bytes would pass kMaxWaitingOutput.
    bool AppendOutput(const std::uint8_t* bytes, std::size_t length, OutputSource source = kOwnOutput);
    const std::uint8_t* GetOutput() const { return m_output.data() + m_outputStart; }
    std::size_t GetOutputSize() const { return m_output.size() - m_outputStart; }
    void ConsumeOutput(std::size_t length);
    // Waiting output forwarded for the source.
    std::size_t GetOutputFrom(OutputSource source) const;
    // When the waiting output last began or shrank.
    std::chrono::steady_clock::time_point GetOutputMovedAt() const { return m_outputMovedAt; }
    // Read without the send lock by the I/O thread choosing what to watch.
    bool HasOutput() const { return m_hasOutput.load(std::memory_order_acquire); }

    os::SocketHandle handle = os::kInvalidSocket;
    std::int32_t type = -1;
    std::int32_t id = -1;
    // Read by callers without the list lock.
    std::atomic<std::uint32_t> serviceFlags{0};
    std::uint32_t optionFlags = 0;
    Tun_Address localAddress;
    Tun_Address remoteAddress;
    bool accepted = false;
    bool connectPending = false;
    // Set (after the remote address) under the list lock, read without it.
    std::atomic<bool> connected{false};
    // A close is queued: lookups no longer see the record.
    bool closing = false;
    // Under the list lock: the connection is read no more and closes once
    // its waiting output has gone out.
    bool closeOnceSent = false;
    // Under the list lock. A listener's: how long a connection it accepts
    // may wait to be admitted (0: for ever). A connection's: whether it still
    // waits, and until when.
    std::chrono::milliseconds admissionLimit{0};
    bool awaitingAdmission = false;
    std::chrono::steady_clock::time_point admitBy;
    // A listener's (under the list lock) and its connections' (the I/O
    // thread's alone, cleared once a join request came): a message that
    // passes it ends the admission wait (none: only AdmitPeer does).
    JoinRequestCheck joinRequestCheck = nullptr;
    // The longest message the I/O thread takes from the connection.
    std::atomic<std::uint32_t> messageLengthLimit{kMaxMessageLength};
    // What the I/O thread has read of a message not yet whole.
    StreamState stream;
    // The I/O thread's alone. A stream's message events that the event queue
    // had no room for, in order: the stream is not read while any wait, and
    // they are posted before anything read later.
    Tun_EventList held;
    // The I/O thread's alone: the peer ended the stream (or broke its
    // framing); it closes once its held events are posted.
    bool ended = false;

private:
    std::vector<std::uint8_t> m_buffers[2];
    pthread_mutex_t* m_receiveLock = nullptr;
    pthread_mutex_t* m_sendLock = nullptr;
    pthread_mutex_t* m_countLock = nullptr;
    std::int32_t m_userCount = 0;
    std::atomic<std::size_t> m_undelivered{0};
    struct OutputStretch {
        OutputSource source;
        std::size_t length;
    };
    std::vector<std::uint8_t> m_output;
    std::size_t m_outputStart = 0;
    // The waiting output by source, in order (neighbours of one source
    // merged), and the forwarded totals by source.
    std::deque<OutputStretch> m_outputStretches;
    std::vector<OutputStretch> m_forwardedTotals;
    std::atomic<bool> m_hasOutput{false};
    std::chrono::steady_clock::time_point m_outputMovedAt;

    // Where the source's forwarded total lies; the count of totals when none.
    std::size_t ForwardedTotalIndex(OutputSource source) const;
};

}  // namespace Network
