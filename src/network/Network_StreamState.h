#pragma once

#include "network/Network_Message.h"
#include "os/OS_Socket.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace Network {

// Cuts what a connected stream delivers back into whole messages, however the
// bytes were split across reads. Owned by the socket record it reads for and
// gone with it, so a new connection given the same descriptor number starts
// clean. A message's memory is taken only once its header was read and its
// length checked, at exactly that length.
class StreamState {
public:
    enum class Outcome { Open, Closed };

    StreamState() = default;
    ~StreamState();
    StreamState(const StreamState&) = delete;
    StreamState& operator=(const StreamState&) = delete;

    // Reads what the stream has pending (it was reported readable), at most
    // byteLimit bytes, and appends each completed message, in order, to
    // messages; the caller owns them.
    // Closed: the peer closed or reset it (nothing pending), or it sent a
    // length outside 8 to lengthLimit (at most 1 MiB), or memory ran short:
    // the caller closes the connection; messages completed before stay
    // appended, the partial one is dropped, and every later call is Closed as
    // well.
    Outcome Receive(os::SocketHandle handle, std::vector<RawMessage>& messages,
                    std::size_t byteLimit = std::numeric_limits<std::size_t>::max(),
                    std::uint32_t lengthLimit = kMaxMessageLength);

    // Bytes of the message being assembled (its header included).
    std::uint32_t GetHeldBytes() const;
    bool IsClosed() const { return m_closed; }

private:
    // Takes bytes from a read; false when the stream broke the format.
    bool Consume(const std::uint8_t* bytes, std::size_t count, std::vector<RawMessage>& messages,
                 std::uint32_t lengthLimit);
    // Counts bytes written into the message's body; hands it over once whole.
    void TakeBody(std::uint32_t count, std::vector<RawMessage>& messages);
    void Close();

    std::uint8_t m_header[kMessageHeaderSize] = {};
    std::uint32_t m_headerBytes = 0;
    RawMessage m_message;  // allocated once the header is checked; never whole here
    std::uint32_t m_messageBytes = 0;
    bool m_closed = false;
};

}  // namespace Network
