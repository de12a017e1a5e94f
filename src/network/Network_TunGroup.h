#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "network/Network_TunPlayer.h"

#include <cstdint>
#include <vector>

namespace Tundra {

// A named set of players, in ascending id order, no two with one id. The
// owner is null for groups that belong to nobody ("All_Players").
class TunGroup : public Core::Object {
    TUN_DECLARE_CLASS(TunGroup);
    TunGroup() = default;
    // Takes the next group id.
    TunGroup(const Core::String& name, TunPlayer* owner);

    void PushToLua(lua_State* state) const override;

    bool AddPlayer(TunPlayer* player);
    bool RemovePlayer(const Core::String& name);
    bool RemovePlayer(std::uint32_t id);
    TunPlayer* QueryPlayer(std::uint32_t id) const;
    TunPlayer* QueryPlayer(const Core::String& name) const;
    void Clear();

    const Core::String& GetName() const { return m_name; }
    std::uint32_t GetID() const { return m_id; }
    // A group made from a client's packet takes the packet's id.
    void SetID(std::uint32_t id) { m_id = id; }
    TunPlayer* GetOwner() const { return m_owner.Get(); }
    void SetOwner(TunPlayer* owner) { m_owner = owner; }
    // The script method "GetSize" (the object size keeps the name GetSize).
    std::uint32_t GetPlayerCount() const { return static_cast<std::uint32_t>(m_players.size()); }
    const std::vector<Core::RefPtr<TunPlayer>>& GetPlayers() const { return m_players; }

    // The next id of the process-wide group counter (never reused).
    static std::uint32_t NextGroupId();

private:
    Core::String m_name;
    std::uint32_t m_id = 0;
    Core::RefPtr<TunPlayer> m_owner;
    std::vector<Core::RefPtr<TunPlayer>> m_players;
};

}  // namespace Tundra
