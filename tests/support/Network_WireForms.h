#pragma once

#include "support/Network_WirePeer.h"

#include <cstdint>
#include <span>
#include <string_view>

// The front end's packets as tests and benchmarks send them to it.
namespace testsupport {

// Wire forms built byte by byte, independent of the codecs under test.
// The 16-byte socket address of 127.0.0.1:port as Linux lays it out.
Bytes LoopbackAddressBytes(std::uint16_t port);
void AppendU32(Bytes& bytes, std::uint32_t value);
void AppendString(Bytes& bytes, std::string_view text);
Bytes PlayerRecord(std::uint32_t id, bool host, std::uint16_t port, std::string_view name);
// Type 1: the password and a zero, then the record (id 0, no host flag).
Bytes JoinRequest(std::string_view password, std::uint16_t port, std::string_view name);
Bytes Announcement(std::uint16_t port, std::uint32_t maxPlayers, std::uint32_t players, bool password,
                   std::string_view name, std::string_view networkId);
Bytes U32Payload(std::uint32_t value);
// Reads the u32 at offset of a payload (0 when it does not fit).
std::uint32_t U32At(std::span<const std::uint8_t> payload, std::size_t offset);

}  // namespace testsupport
