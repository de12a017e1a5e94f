#pragma once

#include <cstdint>

// Little-endian fields inside the input devices' snapshot and event records.
namespace Input {

inline void StoreU32(std::uint8_t* bytes, std::uint32_t value) {
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
    bytes[2] = static_cast<std::uint8_t>(value >> 16);
    bytes[3] = static_cast<std::uint8_t>(value >> 24);
}

inline std::uint32_t LoadU32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

inline void StoreI32(std::uint8_t* bytes, std::int32_t value) { StoreU32(bytes, static_cast<std::uint32_t>(value)); }

inline std::int32_t LoadI32(const std::uint8_t* bytes) { return static_cast<std::int32_t>(LoadU32(bytes)); }

}  // namespace Input
