#pragma once

#include "core/Core_String.h"
#include "network/Network_Address.h"

#include <cstdint>

struct lua_State;

namespace Network {
class PayloadReader;
class PayloadWriter;
}  // namespace Network

namespace Tundra {

// One session heard on the LAN: a plain copyable record.
class TunBroadcast {
public:
    TunBroadcast() = default;
    virtual ~TunBroadcast() = default;
    TunBroadcast(const TunBroadcast&) = default;
    TunBroadcast& operator=(const TunBroadcast&) = default;

    // Pushes a copy to the script layer as a "TunBroadcast".
    virtual void PushToLua(lua_State* state) const;

    // The announcement payload: address, max players, players, password
    // flag, u32 name length + 1, the name and a zero, the network ID and a zero.
    static void WriteAnnouncement(Network::PayloadWriter& writer, const Network::Tun_Address& address,
                                  std::uint32_t maxPlayers, std::uint32_t playerCount, bool passwordProtected,
                                  const Core::String& hostName, const Core::String& networkId);
    // Every field from an announcement, age 0; nothing changes unless it reads whole.
    bool ReadAnnouncement(Network::PayloadReader& reader);

    const Core::String& GetHostName() const { return m_hostName; }
    const Core::String& GetNetworkID() const { return m_networkId; }
    const Network::Tun_Address& GetAddress() const { return m_address; }
    std::uint32_t GetSessionMaxPlayers() const { return m_maxPlayers; }
    std::uint32_t GetSessionPlayersNumber() const { return m_playerCount; }
    float GetAge() const { return m_age; }
    void SetAge(float age) { m_age = age; }
    bool IsPasswordProtected() const { return m_passwordProtected; }
    // The IPv4 address the announcement came from (0 until set).
    std::uint32_t GetSenderIPv4() const { return m_senderIPv4; }
    void SetSenderIPv4(std::uint32_t sender) { m_senderIPv4 = sender; }
    // Whether the announcement came from the address it names.
    bool IsHeardOnOwnAddress() const { return m_senderIPv4 == m_address.GetIPv4(); }

private:
    Core::String m_hostName;
    Core::String m_networkId;
    Network::Tun_Address m_address;
    std::uint32_t m_maxPlayers = 0;
    std::uint32_t m_playerCount = 0;
    float m_age = 0.0f;
    bool m_passwordProtected = false;
    std::uint32_t m_senderIPv4 = 0;
};

}  // namespace Tundra
