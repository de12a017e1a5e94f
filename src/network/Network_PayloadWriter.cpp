#include "network/Network_PayloadWriter.h"

#include <cstring>

namespace Network {

void PayloadWriter::WriteU8(std::uint8_t value) { m_buffer.push_back(value); }

void PayloadWriter::WriteU32(std::uint32_t value) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                   static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    m_buffer.insert(m_buffer.end(), bytes, bytes + 4);
}

void PayloadWriter::WriteI32(std::int32_t value) { WriteU32(static_cast<std::uint32_t>(value)); }

void PayloadWriter::WriteString(const Core::String& text) {
    // Up to the first zero, so that the reader gets back exactly what was written.
    const auto* characters = reinterpret_cast<const std::uint8_t*>(text.c_str());
    m_buffer.insert(m_buffer.end(), characters, characters + std::strlen(text.c_str()) + 1);
}

void PayloadWriter::WriteAddress(const Tun_Address& address) {
    const os::SocketAddress& raw = address.GetSocketAddress();
    m_buffer.insert(m_buffer.end(), raw.begin(), raw.end());
}

void PayloadWriter::WriteBytes(std::span<const std::uint8_t> bytes) {
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
}

}  // namespace Network
