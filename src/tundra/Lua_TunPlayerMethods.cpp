#include "network/Network_TunPlayer.h"
#include "tundra/Lua_Accessors.h"

// The "TunPlayer" table.
namespace Lua {
namespace {

using Tundra::TunPlayer;

const MethodTable& TunPlayerMethods() {
    static const MethodTable table{
        "TunPlayer",
        {
            BindGetter<TunPlayer, &TunPlayer::GetName>("GetName"),
            BindGetter<TunPlayer, &TunPlayer::IsLocal>("IsLocal"),
            BindGetter<TunPlayer, &TunPlayer::IsHost>("IsHost"),
            BindGetter<TunPlayer, &TunPlayer::GetID>("GetID"),
            BindGetter<TunPlayer, &TunPlayer::GetPingTime>("GetPingTime"),
        },
    };
    return table;
}

const TableRegistration s_tunPlayerMethodsRegistration{&TunPlayerMethods};

}  // namespace
}  // namespace Lua
