#include "network/Network_TunGroup.h"

#include <algorithm>

namespace Tundra {

namespace {

constexpr const char* kAllPlayersName = "All_Players";
constexpr std::uint32_t kAllPlayersId = 1;

using PlayerList = std::vector<Core::RefPtr<TunPlayer>>;

template <class Match>
TunPlayer* FindFirst(const PlayerList& players, const Match& match) {
    const auto found = std::find_if(players.begin(), players.end(),
                                    [&match](const Core::RefPtr<TunPlayer>& player) { return match(*player); });
    return found != players.end() ? found->Get() : nullptr;
}

template <class Match>
bool EraseFirst(PlayerList& players, const Match& match) {
    const auto found = std::find_if(players.begin(), players.end(),
                                    [&match](const Core::RefPtr<TunPlayer>& player) { return match(*player); });
    if (found == players.end()) {
        return false;
    }
    players.erase(found);
    return true;
}

}  // namespace

// The session's group of every player is id 1 in every front end (texts to all
// name it), so it takes nothing from the counter.
TunGroup::TunGroup(const Core::String& name, TunPlayer* owner)
    : m_name(name),
      m_id(owner == nullptr && name == kAllPlayersName ? kAllPlayersId : NextGroupId()),
      m_owner(owner) {}

void TunGroup::PushToLua(lua_State* state) const { PushToLuaAs(state, "TunGroup"); }

bool TunGroup::AddPlayer(TunPlayer* player) {
    if (player == nullptr || QueryPlayer(player->GetID()) != nullptr) {
        return false;
    }
    // Into its place: the list is in id order already, so no sort is needed.
    const auto place = std::upper_bound(m_players.begin(), m_players.end(), player->GetID(),
                                        [](std::uint32_t id, const Core::RefPtr<TunPlayer>& listed) {
                                            return id < listed->GetID();
                                        });
    m_players.emplace(place, player);
    return true;
}

bool TunGroup::RemovePlayer(const Core::String& name) {
    return EraseFirst(m_players, [&name](const TunPlayer& player) { return player.GetName() == name; });
}

bool TunGroup::RemovePlayer(std::uint32_t id) {
    return EraseFirst(m_players, [id](const TunPlayer& player) { return player.GetID() == id; });
}

TunPlayer* TunGroup::QueryPlayer(std::uint32_t id) const {
    return FindFirst(m_players, [id](const TunPlayer& player) { return player.GetID() == id; });
}

TunPlayer* TunGroup::QueryPlayer(const Core::String& name) const {
    return FindFirst(m_players, [&name](const TunPlayer& player) { return player.GetName() == name; });
}

void TunGroup::Clear() { m_players.clear(); }

std::uint32_t TunGroup::NextGroupId() {
    static std::uint32_t next = kAllPlayersId + 1;
    return next++;
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::TunGroup)
