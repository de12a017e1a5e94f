#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The frame around a saved game's payload, so that a damaged or truncated
// file is refused before anything of the running game is touched:
// "TSAV", u32 version, u32 payload length, u32 CRC-32 of the payload, then
// the payload; little-endian.
namespace Tundra::SaveEnvelope {

constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kHeaderSize = 16;
// Larger files are refused unread.
constexpr std::uint64_t kMaxFileSize = 256ull << 20;

std::vector<std::uint8_t> Header(std::span<const std::uint8_t> payload);

// The payload of a whole file; on refusal, empty with the reason set
// ("truncated", "not a save file", "version 2", "length mismatch",
// "checksum mismatch").
std::span<const std::uint8_t> Open(std::span<const std::uint8_t> file, std::string& reason);

}  // namespace Tundra::SaveEnvelope
