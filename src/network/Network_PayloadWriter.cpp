#include "network/Network_PayloadWriter.h"

namespace Network {

void PayloadWriter::WriteU8(std::uint8_t) {}
void PayloadWriter::WriteU32(std::uint32_t) {}
void PayloadWriter::WriteI32(std::int32_t) {}
void PayloadWriter::WriteString(const Core::String&) {}
void PayloadWriter::WriteAddress(const Tun_Address&) {}
void PayloadWriter::WriteBytes(std::span<const std::uint8_t>) {}

}  // namespace Network
