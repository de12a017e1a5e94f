#pragma once

#include <cstdint>

// Fixed-width integers in byte buffers, in an explicit byte order, so that
// stored and exchanged data reads the same on every machine. Stored data and
// records are little-endian; some file headers are big-endian.
namespace os {

inline std::uint32_t LoadU16LE(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8;
}

inline std::uint32_t LoadU32LE(const std::uint8_t* bytes) { return LoadU16LE(bytes) | LoadU16LE(bytes + 2) << 16; }

inline void StoreU32LE(std::uint8_t* bytes, std::uint32_t value) {
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
    bytes[2] = static_cast<std::uint8_t>(value >> 16);
    bytes[3] = static_cast<std::uint8_t>(value >> 24);
}

inline std::uint32_t LoadU16BE(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 8 | static_cast<std::uint32_t>(bytes[1]);
}

inline std::uint32_t LoadU32BE(const std::uint8_t* bytes) { return LoadU16BE(bytes) << 16 | LoadU16BE(bytes + 2); }

}  // namespace os
