#pragma once

#include "core/Core_String.h"
#include "network/Network_Address.h"

#include <cstdint>
#include <span>
#include <vector>

namespace Network {

// Builds a payload in a byte buffer the caller keeps (and may reuse: Clear
// keeps the capacity). Integers little-endian, strings ended by one zero byte.
class PayloadWriter {
public:
    explicit PayloadWriter(std::vector<std::uint8_t>& buffer) : m_buffer(buffer) {}

    void Clear() { m_buffer.clear(); }
    void WriteU8(std::uint8_t value);
    void WriteU32(std::uint32_t value);
    void WriteI32(std::int32_t value);
    void WriteString(const Core::String& text);
    // The 16-byte socket address as it is held.
    void WriteAddress(const Tun_Address& address);
    void WriteBytes(std::span<const std::uint8_t> bytes);

    const std::uint8_t* GetData() const { return m_buffer.data(); }
    std::uint32_t GetSize() const { return static_cast<std::uint32_t>(m_buffer.size()); }

private:
    std::vector<std::uint8_t>& m_buffer;
};

}  // namespace Network
