#include "network/Network_PayloadReader.h"

namespace Network {

PayloadReader::PayloadReader(const std::uint8_t* bytes, std::uint32_t length) : m_bytes(bytes), m_length(length) {}
std::uint8_t PayloadReader::ReadU8() { return 0; }
std::uint32_t PayloadReader::ReadU32() { return 0; }
std::int32_t PayloadReader::ReadI32() { return 0; }
Core::String PayloadReader::ReadString() { return {}; }
Tun_Address PayloadReader::ReadAddress() { return {}; }
std::span<const std::uint8_t> PayloadReader::ReadBytes(std::uint32_t) { return {}; }
std::span<const std::uint8_t> PayloadReader::ReadRest() { return {}; }
bool PayloadReader::Fits(std::uint32_t) { return false; }

}  // namespace Network
