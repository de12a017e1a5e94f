#include "network/Network_StreamState.h"

#include "os/OS_Error.h"

#include <algorithm>
#include <cstring>

namespace Network {
namespace {

// Many small messages come in one read through this; a long message's body
// is read straight into its own buffer.
constexpr std::size_t kChunkSize = 4096;

bool IsClosedError(std::uint32_t code) {
    return code == os::kSocketConnectionAborted || code == os::kSocketConnectionReset;
}

}  // namespace

StreamState::~StreamState() { FreeMessage(m_message); }

std::uint32_t StreamState::GetHeldBytes() const { return m_message.bytes != nullptr ? m_messageBytes : m_headerBytes; }

void StreamState::Close() {
    FreeMessage(m_message);
    m_messageBytes = 0;
    m_headerBytes = 0;
    m_closed = true;
}

bool StreamState::Consume(const std::uint8_t* bytes, std::size_t count, std::vector<RawMessage>& messages,
                          std::uint32_t lengthLimit) {
    while (count > 0) {
        if (m_message.bytes == nullptr) {
            const std::size_t taken = std::min<std::size_t>(count, kMessageHeaderSize - m_headerBytes);
            std::memcpy(m_header + m_headerBytes, bytes, taken);
            m_headerBytes += static_cast<std::uint32_t>(taken);
            bytes += taken;
            count -= taken;
            if (m_headerBytes < kMessageHeaderSize) {
                return true;
            }
            const std::uint32_t length = ReadMessageHeader(m_header).totalLength;
            m_message = length <= lengthLimit ? AllocateMessage(length) : RawMessage{};
            if (m_message.bytes == nullptr) {
                return false;
            }
            std::memcpy(m_message.bytes, m_header, kMessageHeaderSize);
            m_messageBytes = kMessageHeaderSize;
        }
        const std::size_t taken = std::min<std::size_t>(count, m_message.length - m_messageBytes);
        std::memcpy(m_message.bytes + m_messageBytes, bytes, taken);
        bytes += taken;
        count -= taken;
        TakeBody(static_cast<std::uint32_t>(taken), messages);
    }
    return true;
}

void StreamState::TakeBody(std::uint32_t count, std::vector<RawMessage>& messages) {
    m_messageBytes += count;
    if (m_messageBytes == m_message.length) {
        messages.push_back(m_message);
        m_message = {};
        m_messageBytes = 0;
        m_headerBytes = 0;
    }
}

StreamState::Outcome StreamState::Receive(os::SocketHandle handle, std::vector<RawMessage>& messages,
                                          std::size_t byteLimit, std::uint32_t lengthLimit) {
    if (m_closed) {
        return Outcome::Closed;
    }
    // Readable with nothing pending is a peer that closed.
    std::int64_t pending = os::PendingBytes(handle);
    if (pending <= 0) {
        Close();
        return Outcome::Closed;
    }
    // No more than was pending on entry, so one busy peer cannot hold the
    // reader for ever.
    pending = static_cast<std::int64_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(pending), byteLimit));
    std::uint8_t chunk[kChunkSize];
    while (pending > 0) {
        const bool inBody = m_message.bytes != nullptr;
        std::uint8_t* target = inBody ? m_message.bytes + m_messageBytes : chunk;
        const std::size_t room = inBody ? m_message.length - m_messageBytes : sizeof chunk;
        const std::int64_t received =
            os::ReceiveStream(handle, target, std::min<std::size_t>(room, static_cast<std::size_t>(pending)));
        if (received == 0 || (received < 0 && IsClosedError(os::GetLastError()))) {
            Close();
            return Outcome::Closed;
        }
        if (received < 0) {
            return Outcome::Open;
        }
        pending -= received;
        if (inBody) {
            TakeBody(static_cast<std::uint32_t>(received), messages);
        } else if (!Consume(chunk, static_cast<std::size_t>(received), messages, lengthLimit)) {
            Close();
            return Outcome::Closed;
        }
    }
    return Outcome::Open;
}

}  // namespace Network
