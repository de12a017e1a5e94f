#pragma once

#include <cstddef>
#include <cstdint>

// The one message format of every exchange, on streams and datagrams alike:
// u32 type, u32 total length (header included), then the payload. Both words
// are little-endian. A datagram carries exactly one message; on a stream the
// length alone delimits them.
namespace Network {

constexpr std::uint32_t kMessageHeaderSize = 8;
// Every message is 8 bytes to 1 MiB long: a longer or shorter length on a
// stream ends that connection, on a datagram drops it.
constexpr std::uint32_t kMaxMessageLength = 1u << 20;
constexpr std::uint32_t kMaxPayloadLength = kMaxMessageLength - kMessageHeaderSize;

struct MessageHeader {
    std::uint32_t type = 0;
    std::uint32_t totalLength = 0;
};

void WriteMessageHeader(std::uint8_t* bytes, const MessageHeader& header);
MessageHeader ReadMessageHeader(const std::uint8_t* bytes);
bool IsValidMessageLength(std::uint32_t totalLength);

// A whole message, header included, in tracked memory of exactly its length.
// Whoever holds it frees it with FreeMessage.
struct RawMessage {
    std::uint8_t* bytes = nullptr;
    std::uint32_t length = 0;
};

// Null bytes when the length is not a valid message length or memory is short.
RawMessage AllocateMessage(std::uint32_t totalLength);
// Frees and clears; nothing for an empty one.
void FreeMessage(RawMessage& message);
// Header then payload; null bytes when the payload is too long or memory short.
RawMessage BuildMessage(std::uint32_t type, const void* payload, std::uint32_t payloadLength);
// Writes the message into bytes (room for payloadLength + 8): false, nothing
// written, when the payload is too long.
bool WriteMessage(std::uint8_t* bytes, std::uint32_t type, const void* payload, std::uint32_t payloadLength);

// The length of the message a datagram of `received` bytes carries: 0 (drop
// it) when it is shorter than a header or than its length, or its length is
// not valid; a longer datagram gives its first length bytes.
std::uint32_t DatagramMessageLength(const std::uint8_t* bytes, std::size_t received);

}  // namespace Network
