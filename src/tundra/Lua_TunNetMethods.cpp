#include "network/Network_TunNet.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_IdOrName.h"
#include "tundra/Lua_PartPointer.h"
#include "tundra/Tundra_GameObject.h"

#include <algorithm>
#include <lua.hpp>

// The "TunNet" table.
namespace Lua {
namespace {

using Tundra::TunGroup;
using Tundra::TunNet;
using Tundra::TunPlayer;

int AddBaseNetObject(TunNet& network, lua_State* state) {
    Tundra::GameObject* object = GetObject<Tundra::GameObject>(state, 1);
    const char* name = GetString(state, 2);
    if (name == nullptr) {
        return 0;
    }
    PushBool(state, network.AddBaseNetObject(object, name));
    return 1;
}

int RemoveNetObjectsControlledBy(TunNet& network, lua_State* state) {
    if (TunPlayer* player = GetObject<TunPlayer>(state, 1)) {
        network.RemoveNetObjectsControlledBy(player);
    }
    return 0;
}

template <bool (TunNet::*Operation)(TunGroup*)>
int OnGroup(TunNet& network, lua_State* state) {
    PushBool(state, (network.*Operation)(GetObject<TunGroup>(state, 1)));
    return 1;
}

// (reliable, text, echo) to every player, or (reliable, text, group, echo).
int SendTextMessage(TunNet& network, lua_State* state) {
    const char* text = GetString(state, 2);
    if (text == nullptr) {
        return 0;
    }
    const bool reliable = GetBool(state, 1);
    if (ToObjectSlot(state, 3) != nullptr) {
        PushBool(state, network.SendTextMessage(reliable, text, GetObject<TunGroup>(state, 3), GetBool(state, 4)));
    } else {
        PushBool(state, network.SendTextMessage(reliable, text, GetBool(state, 3)));
    }
    return 1;
}

// (reliable, text, player, [echo]).
int SendTextMessageToPlayer(TunNet& network, lua_State* state) {
    const char* text = GetString(state, 2);
    if (text == nullptr) {
        return 0;
    }
    TunPlayer* player = GetObject<TunPlayer>(state, 3);
    PushBool(state, network.SendTextMessageToPlayer(GetBool(state, 1), text, player, GetBool(state, 4)));
    return 1;
}

// Data messages from scripts are not carried.
int Ignore(TunNet&, lua_State*) { return 0; }

int QueryPlayer(TunNet& network, lua_State* state) {
    const IdOrName key = ReadIdOrName(state, 1);
    const TunPlayer* player = nullptr;
    if (key.id) {
        player = network.FindPlayer(*key.id);
    } else if (key.name != nullptr) {
        player = network.FindPlayerByName(key.name);
    }
    PushObject(state, player);
    return 1;
}

// (id or name, [owner]): without an owner, the local player's groups and
// those of nobody.
int QueryGroup(TunNet& network, lua_State* state) {
    const TunPlayer* owner = ArgumentCount(state) >= 2 && !lua_isnil(state, 2) ? GetObject<TunPlayer>(state, 2)
                                                                              : network.GetLocalPlayer();
    const IdOrName key = ReadIdOrName(state, 1);
    const TunGroup* group = nullptr;
    if (key.id) {
        group = network.FindGroup(*key.id, owner);
    } else if (key.name != nullptr) {
        group = network.FindGroupByName(key.name, owner);
    }
    PushObject(state, group);
    return 1;
}

// The players keyed 1, 2, ... in id order; nil when there are none.
int GetSessionPlayers(TunNet& network, lua_State* state) {
    std::vector<Core::RefPtr<TunPlayer>> players = network.GetSessionPlayers();
    if (players.empty()) {
        lua_pushnil(state);
        return 1;
    }
    std::stable_sort(players.begin(), players.end(),
                     [](const Core::RefPtr<TunPlayer>& a, const Core::RefPtr<TunPlayer>& b) {
                         return a->GetID() < b->GetID();
                     });
    NewList(state, static_cast<int>(players.size()));
    for (std::size_t i = 0; i < players.size(); ++i) {
        PushObject(state, players[i].Get());
        AppendToList(state, static_cast<int>(i + 1));
    }
    return 1;
}

template <auto Get>
int Read(TunNet& network, lua_State* state) {
    PushResult(state, (network.*Get)());
    return 1;
}

const MethodTable& TunNetMethods() {
    static const MethodTable table{
        "TunNet",
        {
            BindPart<TunNet, &AddBaseNetObject>("AddBaseNetObject"),
            BindPart<TunNet, &RemoveNetObjectsControlledBy>("RemoveNetObjectsControlledBy"),
            BindPart<TunNet, &OnGroup<&TunNet::CreateGroup>>("CreateGroup"),
            BindPart<TunNet, &OnGroup<&TunNet::DestroyGroup>>("DestroyGroup"),
            BindPart<TunNet, &SendTextMessage>("SendTextMessage"),
            BindPart<TunNet, &SendTextMessageToPlayer>("SendTextMessageToPlayer"),
            BindPart<TunNet, &Ignore>("SendDataMessage"),
            BindPart<TunNet, &Ignore>("SendDataMessageToPlayer"),
            BindPart<TunNet, &QueryPlayer>("QueryPlayer"),
            BindPart<TunNet, &QueryGroup>("QueryGroup"),
            BindPart<TunNet, &GetSessionPlayers>("GetSessionPlayers"),
            BindPart<TunNet, &Read<&TunNet::GetSessionPlayersNumber>>("GetSessionPlayersNumber"),
            BindPart<TunNet, &Read<&TunNet::GetLocalPlayer>>("GetLocalPlayer"),
            BindPart<TunNet, &Read<&TunNet::GetSessionListTimeOut>>("GetBroadcastTimeOut"),
        },
        true};
    return table;
}

const TableRegistration s_tunNetMethodsRegistration{&TunNetMethods};

}  // namespace
}  // namespace Lua
