#include "support/Network_WireForms.h"

#include "os/OS_SocketAddress.h"

namespace testsupport {

Bytes LoopbackAddressBytes(std::uint16_t port) {
    const os::SocketAddress address = os::MakeSocketAddress(os::kLoopbackIPv4, port);
    return Bytes(address.begin(), address.end());
}

void AppendU32(Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void AppendString(Bytes& bytes, std::string_view text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
}

Bytes PlayerRecord(std::uint32_t id, bool host, std::uint16_t port, std::string_view name) {
    Bytes bytes;
    AppendU32(bytes, id);
    bytes.push_back(host ? 1 : 0);
    const Bytes address = LoopbackAddressBytes(port);
    bytes.insert(bytes.end(), address.begin(), address.end());
    AppendString(bytes, name);
    return bytes;
}

Bytes JoinRequest(std::string_view password, std::uint16_t port, std::string_view name) {
    Bytes bytes;
    AppendString(bytes, password);
    const Bytes record = PlayerRecord(0, false, port, name);
    bytes.insert(bytes.end(), record.begin(), record.end());
    return bytes;
}

Bytes Announcement(std::uint16_t port, std::uint32_t maxPlayers, std::uint32_t players, bool password,
                   std::string_view name, std::string_view networkId) {
    Bytes bytes = LoopbackAddressBytes(port);
    AppendU32(bytes, maxPlayers);
    AppendU32(bytes, players);
    bytes.push_back(password ? 1 : 0);
    AppendU32(bytes, static_cast<std::uint32_t>(name.size() + 1));
    AppendString(bytes, name);
    AppendString(bytes, networkId);
    return bytes;
}

Bytes U32Payload(std::uint32_t value) {
    Bytes bytes;
    AppendU32(bytes, value);
    return bytes;
}

std::uint32_t U32At(std::span<const std::uint8_t> payload, std::size_t offset) {
    if (offset + 4 > payload.size()) {
        return 0;
    }
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | payload[offset + static_cast<std::size_t>(i)];
    }
    return value;
}

}  // namespace testsupport
