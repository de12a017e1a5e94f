#include "tundra/Lua_BroadcastValue.h"

#include "network/Network_PayloadReader.h"
#include "network/Network_PayloadWriter.h"
#include "network/Network_TunBroadcast.h"
#include "tundra/Lua_Values.h"

#include <cstring>
#include <vector>

namespace Lua {

Tundra::TunBroadcast BroadcastValue::ToRecord() const {
    Tundra::TunBroadcast record;
    Network::PayloadReader reader(reinterpret_cast<const std::uint8_t*>(this + 1), announcementSize);
    record.ReadAnnouncement(reader);
    record.SetAge(age);
    return record;
}

void PushBroadcast(lua_State* state, const Tundra::TunBroadcast& session) {
    std::vector<std::uint8_t> bytes;
    Network::PayloadWriter writer(bytes);
    Tundra::TunBroadcast::WriteAnnouncement(writer, session.GetAddress(), session.GetSessionMaxPlayers(),
                                            session.GetSessionPlayersNumber(), session.IsPasswordProtected(),
                                            session.GetHostName(), session.GetNetworkID());
    void* block = NewValue(state, sizeof(BroadcastValue) + bytes.size(), kBroadcastName);
    auto* value = new (block) BroadcastValue{session.GetAge(), writer.GetSize()};
    std::memcpy(value + 1, bytes.data(), bytes.size());
}

BroadcastValue* GetBroadcast(lua_State* state, int index) {
    return static_cast<BroadcastValue*>(ToValue(state, index, kBroadcastName));
}

}  // namespace Lua
