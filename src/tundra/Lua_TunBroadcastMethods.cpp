#include "network/Network_TunBroadcast.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_BroadcastValue.h"

// The "TunBroadcast" table: found sessions held by scripts as copies.
namespace Lua {
namespace {

template <auto Get>
int Read(BroadcastValue& value, lua_State* state) {
    PushResult(state, (value.ToRecord().*Get)());
    return 1;
}

using Tundra::TunBroadcast;

const MethodTable& TunBroadcastMethods() {
    static const MethodTable table{
        kBroadcastName,
        {
            BindValue<BroadcastValue, &Read<&TunBroadcast::GetNetworkID>>("GetNetworkID"),
            BindValue<BroadcastValue, &Read<&TunBroadcast::GetHostName>>("GetHostName"),
            BindValue<BroadcastValue, &Read<&TunBroadcast::GetSessionMaxPlayers>>("GetSessionMaxPlayers"),
            BindValue<BroadcastValue, &Read<&TunBroadcast::GetSessionPlayersNumber>>("GetSessionPlayersNumber"),
            BindValue<BroadcastValue, &Read<&TunBroadcast::IsPasswordProtected>>("IsPasswordProtected"),
        },
        true};
    return table;
}

const TableRegistration s_tunBroadcastMethodsRegistration{&TunBroadcastMethods};

}  // namespace
}  // namespace Lua
