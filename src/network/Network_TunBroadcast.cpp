#include "network/Network_TunBroadcast.h"

#include "network/Network_PayloadReader.h"
#include "network/Network_PayloadWriter.h"
#include "tundra/Lua_BroadcastValue.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace Tundra {

void TunBroadcast::PushToLua(lua_State* state) const { Lua::PushBroadcast(state, *this); }

void TunBroadcast::WriteAnnouncement(Network::PayloadWriter& writer, const Network::Tun_Address& address,
                                     std::uint32_t maxPlayers, std::uint32_t playerCount, bool passwordProtected,
                                     const Core::String& hostName, const Core::String& networkId) {
    writer.WriteAddress(address);
    writer.WriteU32(maxPlayers);
    writer.WriteU32(playerCount);
    writer.WriteU8(passwordProtected ? 1 : 0);
    // The length counts what WriteString puts down: up to the first zero, and the zero.
    writer.WriteU32(static_cast<std::uint32_t>(std::strlen(hostName.c_str()) + 1));
    writer.WriteString(hostName);
    writer.WriteString(networkId);
}

bool TunBroadcast::ReadAnnouncement(Network::PayloadReader& reader) {
    const Network::Tun_Address address = reader.ReadAddress();
    const std::uint32_t maxPlayers = reader.ReadU32();
    const std::uint32_t playerCount = reader.ReadU32();
    const std::uint8_t passwordFlag = reader.ReadU8();
    const std::uint32_t nameField = reader.ReadU32();
    const std::span<const std::uint8_t> nameBytes = reader.ReadBytes(nameField);
    Core::String networkId = reader.ReadString();
    // The name field is the name and one zero, its last byte.
    const auto nameEnd = std::find(nameBytes.begin(), nameBytes.end(), std::uint8_t{0});
    if (reader.HasFailed() || passwordFlag > 1 || nameBytes.empty() || nameEnd != nameBytes.end() - 1) {
        return false;
    }
    m_hostName = Core::String(std::string_view(reinterpret_cast<const char*>(nameBytes.data()),
                                                static_cast<std::size_t>(nameEnd - nameBytes.begin())));
    m_networkId = std::move(networkId);
    m_address = address;
    m_maxPlayers = maxPlayers;
    m_playerCount = playerCount;
    m_passwordProtected = passwordFlag == 1;
    m_age = 0.0f;
    return true;
}

}  // namespace Tundra
