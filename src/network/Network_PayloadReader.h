#pragma once

#include "core/Core_String.h"
#include "network/Network_Address.h"

#include <cstdint>
#include <span>

namespace Network {

// Reads the fields of one received payload and never past its end: a read
// that does not fit marks the reader failed, returns zero (an empty string,
// the any-address, no bytes) and every later read fails too. A packet whose
// reader failed is ignored whole.
class PayloadReader {
public:
    PayloadReader(const std::uint8_t* bytes, std::uint32_t length);

    std::uint8_t ReadU8();
    std::uint32_t ReadU32();
    std::int32_t ReadI32();
    // Single-byte characters up to a zero byte that lies inside the payload.
    Core::String ReadString();
    // The 16-byte socket address as the sender's platform laid it out; only
    // the IPv4 family is taken. The text becomes the dotted address.
    Tun_Address ReadAddress();
    // The next count bytes; empty (and failed) when fewer are left.
    std::span<const std::uint8_t> ReadBytes(std::uint32_t count);
    // Everything not read yet.
    std::span<const std::uint8_t> ReadRest();

    std::uint32_t GetPosition() const { return m_position; }
    std::uint32_t GetRemaining() const { return m_failed ? 0 : m_length - m_position; }
    bool HasFailed() const { return m_failed; }

private:
    // True when count more bytes fit; otherwise marks the reader failed.
    bool Fits(std::uint32_t count);

    const std::uint8_t* m_bytes;
    std::uint32_t m_length;
    std::uint32_t m_position = 0;
    bool m_failed = false;
};

}  // namespace Network
