#include "network/Network_TunGroup.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_IdOrName.h"

// The "TunGroup" table.
namespace Lua {
namespace {

using Tundra::TunGroup;
using Tundra::TunPlayer;

int AddPlayer(TunGroup& group, lua_State* state) {
    PushBool(state, group.AddPlayer(GetObject<TunPlayer>(state, 1)));
    return 1;
}

// By id or by name.
int RemovePlayer(TunGroup& group, lua_State* state) {
    const IdOrName key = ReadIdOrName(state, 1);
    if (key.id) {
        PushBool(state, group.RemovePlayer(*key.id));
    } else {
        PushBool(state, key.name != nullptr && group.RemovePlayer(Core::String(key.name)));
    }
    return 1;
}

int QueryPlayer(TunGroup& group, lua_State* state) {
    const IdOrName key = ReadIdOrName(state, 1);
    const TunPlayer* player = nullptr;
    if (key.id) {
        player = group.QueryPlayer(*key.id);
    } else if (key.name != nullptr) {
        player = group.QueryPlayer(Core::String(key.name));
    }
    PushObject(state, player);
    return 1;
}

const MethodTable& TunGroupMethods() {
    static const MethodTable table{
        "TunGroup",
        {
            BindGetter<TunGroup, &TunGroup::GetName>("GetName"),
            BindGetter<TunGroup, &TunGroup::GetID>("GetID"),
            BindGetter<TunGroup, &TunGroup::GetOwner>("GetOwner"),
            Bind<TunGroup, &AddPlayer>("AddPlayer"),
            Bind<TunGroup, &RemovePlayer>("RemovePlayer"),
            Bind<TunGroup, &QueryPlayer>("QueryPlayer"),
            // The object size keeps the name GetSize.
            BindGetter<TunGroup, &TunGroup::GetPlayerCount>("GetSize"),
        },
    };
    return table;
}

const TableRegistration s_tunGroupMethodsRegistration{&TunGroupMethods};

}  // namespace
}  // namespace Lua
