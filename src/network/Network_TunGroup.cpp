#include "network/Network_TunGroup.h"

namespace Tundra {

TunGroup::TunGroup(const Core::String& name, TunPlayer* owner) : m_name(name), m_owner(owner) {}
void TunGroup::PushToLua(lua_State*) const {}
bool TunGroup::AddPlayer(TunPlayer*) { return false; }
bool TunGroup::RemovePlayer(const Core::String&) { return false; }
bool TunGroup::RemovePlayer(std::uint32_t) { return false; }
TunPlayer* TunGroup::QueryPlayer(std::uint32_t) const { return nullptr; }
TunPlayer* TunGroup::QueryPlayer(const Core::String&) const { return nullptr; }
void TunGroup::Clear() { m_players.clear(); }
std::uint32_t TunGroup::NextGroupId() { return 0; }

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::TunGroup)
