#include "network/Network_Message.h"

#include "core/Core_TrackedMemory.h"
#include "os/OS_ByteOrder.h"

#include <cstring>

namespace Network {

void WriteMessageHeader(std::uint8_t* bytes, const MessageHeader& header) {
    os::StoreU32LE(bytes, header.type);
    os::StoreU32LE(bytes + 4, header.totalLength);
}

MessageHeader ReadMessageHeader(const std::uint8_t* bytes) {
    return MessageHeader{os::LoadU32LE(bytes), os::LoadU32LE(bytes + 4)};
}

bool IsValidMessageLength(std::uint32_t totalLength) {
    return totalLength >= kMessageHeaderSize && totalLength <= kMaxMessageLength;
}

RawMessage AllocateMessage(std::uint32_t totalLength) {
    if (!IsValidMessageLength(totalLength)) {
        return {};
    }
    try {
        return {static_cast<std::uint8_t*>(TrackedNew(totalLength, __FILE__, __LINE__)), totalLength};
    } catch (const BadAllocation&) {
        return {};
    }
}

void FreeMessage(RawMessage& message) {
    if (message.bytes != nullptr) {
        TrackedDelete(message.bytes, message.length);
    }
    message = {};
}

bool WriteMessage(std::uint8_t* bytes, std::uint32_t type, const void* payload, std::uint32_t payloadLength) {
    if (payloadLength > kMaxPayloadLength || (payload == nullptr && payloadLength > 0)) {
        return false;
    }
    WriteMessageHeader(bytes, MessageHeader{type, payloadLength + kMessageHeaderSize});
    if (payloadLength > 0) {
        std::memcpy(bytes + kMessageHeaderSize, payload, payloadLength);
    }
    return true;
}

RawMessage BuildMessage(std::uint32_t type, const void* payload, std::uint32_t payloadLength) {
    if (payloadLength > kMaxPayloadLength || (payload == nullptr && payloadLength > 0)) {
        return {};
    }
    RawMessage message = AllocateMessage(payloadLength + kMessageHeaderSize);
    if (message.bytes != nullptr) {
        WriteMessage(message.bytes, type, payload, payloadLength);
    }
    return message;
}

std::uint32_t DatagramMessageLength(const std::uint8_t* bytes, std::size_t received) {
    if (bytes == nullptr || received < kMessageHeaderSize) {
        return 0;
    }
    const std::uint32_t length = ReadMessageHeader(bytes).totalLength;
    return IsValidMessageLength(length) && length <= received ? length : 0;
}

}  // namespace Network
