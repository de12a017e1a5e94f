#pragma once

#include <cstddef>
#include <cstdint>

namespace Core {

// CRC-32 of the IEEE 802.3 kind (reflected polynomial 0xEDB88320, initial
// value and final xor 0xFFFFFFFF): the checksum zip and PNG files carry.
std::uint32_t Crc32(const void* bytes, std::size_t count);

}  // namespace Core
