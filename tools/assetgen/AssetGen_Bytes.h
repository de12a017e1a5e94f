#pragma once

#include <cstdint>
#include <vector>

#include "os/OS_ByteOrder.h"

// Fixed-width little-endian fields appended to a file's bytes.
namespace AssetGen {

inline void AppendU16LE(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void AppendU32LE(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.resize(bytes.size() + 4);
    os::StoreU32LE(bytes.data() + bytes.size() - 4, value);
}

}  // namespace AssetGen
