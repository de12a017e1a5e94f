#include "network/Network_PayloadReader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace Network {

PayloadReader::PayloadReader(const std::uint8_t* bytes, std::uint32_t length)
    : m_bytes(bytes), m_length(bytes != nullptr ? length : 0) {}

bool PayloadReader::Fits(std::uint32_t count) {
    if (m_failed) {
        return false;
    }
    if (count > m_length - m_position) {
        m_failed = true;
        return false;
    }
    return true;
}

std::uint8_t PayloadReader::ReadU8() {
    if (!Fits(1)) {
        return 0;
    }
    return m_bytes[m_position++];
}

std::uint32_t PayloadReader::ReadU32() {
    if (!Fits(4)) {
        return 0;
    }
    const std::uint8_t* at = m_bytes + m_position;
    m_position += 4;
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

std::int32_t PayloadReader::ReadI32() { return static_cast<std::int32_t>(ReadU32()); }

Core::String PayloadReader::ReadString() {
    if (m_failed) {
        return {};
    }
    const std::uint8_t* start = m_bytes + m_position;
    const std::uint8_t* end = m_bytes + m_length;
    const std::uint8_t* terminator = std::find(start, end, std::uint8_t{0});
    if (terminator == end) {
        m_failed = true;
        return {};
    }
    const auto length = static_cast<std::uint32_t>(terminator - start);
    m_position += length + 1;
    return Core::String(std::string_view(reinterpret_cast<const char*>(start), length));
}

Tun_Address PayloadReader::ReadAddress() {
    if (!Fits(sizeof(os::SocketAddress))) {
        return {};
    }
    os::SocketAddress raw;
    std::memcpy(raw.data(), m_bytes + m_position, raw.size());
    // The family is the sender's u16 in machine order, as the platform holds it.
    std::uint16_t family = 0;
    std::memcpy(&family, raw.data(), sizeof(family));
    if (family != os::kAddressFamilyIPv4) {
        m_failed = true;
        return {};
    }
    m_position += static_cast<std::uint32_t>(raw.size());
    return Tun_Address::FromSocketAddress(raw);
}

std::span<const std::uint8_t> PayloadReader::ReadBytes(std::uint32_t count) {
    if (!Fits(count)) {
        return {};
    }
    std::span<const std::uint8_t> bytes(m_bytes + m_position, count);
    m_position += count;
    return bytes;
}

std::span<const std::uint8_t> PayloadReader::ReadRest() { return ReadBytes(GetRemaining()); }

}  // namespace Network
