#pragma once

#include "os/OS_ByteOrder.h"

#include <cstdint>

// Little-endian fields inside the input devices' snapshot and event records.
namespace Input {

inline void StoreU32(std::uint8_t* bytes, std::uint32_t value) { os::StoreU32LE(bytes, value); }

inline std::uint32_t LoadU32(const std::uint8_t* bytes) { return os::LoadU32LE(bytes); }

inline void StoreI32(std::uint8_t* bytes, std::int32_t value) { StoreU32(bytes, static_cast<std::uint32_t>(value)); }

inline std::int32_t LoadI32(const std::uint8_t* bytes) { return static_cast<std::int32_t>(LoadU32(bytes)); }

}  // namespace Input
