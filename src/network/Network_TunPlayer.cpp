#include "network/Network_TunPlayer.h"

#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"

namespace Tundra {

TunPlayer::TunPlayer() = default;
TunPlayer::TunPlayer(const Core::String& name, bool isLocal, bool isHost, const Network::Tun_Address& address)
    : m_name(name), m_isLocal(isLocal), m_isHost(isHost), m_address(address) {}
TunPlayer::TunPlayer(const TunPlayer& other) : Core::Object(other) {}
TunPlayer::~TunPlayer() = default;
void TunPlayer::PushToLua(lua_State*) const {}
Input::Keyboard* TunPlayer::GetKeyboard() const { return nullptr; }
Input::Mouse* TunPlayer::GetMouse() const { return nullptr; }
void TunPlayer::CreateMirrorDevices() {}
void TunPlayer::WriteRecord(Network::PayloadWriter&) const {}
bool TunPlayer::ReadRecord(Network::PayloadReader&) { return false; }

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::TunPlayer)
