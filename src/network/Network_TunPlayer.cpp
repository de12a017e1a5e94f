#include "network/Network_TunPlayer.h"

#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "network/Network_PayloadReader.h"
#include "network/Network_PayloadWriter.h"
#include "tundra/Tundra_Game.h"

namespace Tundra {

TunPlayer::TunPlayer() = default;

TunPlayer::TunPlayer(const Core::String& name, bool isLocal, bool isHost, const Network::Tun_Address& address)
    : m_name(name), m_isLocal(isLocal), m_isHost(isHost), m_address(address) {}

// A copy shares the mirror devices: it sees the same remote input.
TunPlayer::TunPlayer(const TunPlayer& other)
    : Core::Object(other),
      m_keyboard(other.m_keyboard),
      m_mouse(other.m_mouse),
      m_name(other.m_name),
      m_id(other.m_id),
      m_isLocal(other.m_isLocal),
      m_isHost(other.m_isHost),
      m_address(other.m_address),
      m_synchronised(other.m_synchronised),
      m_pingTime(other.m_pingTime) {}

TunPlayer::~TunPlayer() = default;

void TunPlayer::PushToLua(lua_State* state) const { PushToLuaAs(state, "TunPlayer"); }

Input::Keyboard* TunPlayer::GetKeyboard() const {
    if (m_isLocal && m_isHost) {
        const Game* game = Game::GetInstance();
        return game != nullptr ? game->GetKeyboard() : nullptr;
    }
    return m_keyboard.Get();
}

Input::Mouse* TunPlayer::GetMouse() const {
    if (m_isLocal && m_isHost) {
        const Game* game = Game::GetInstance();
        return game != nullptr ? game->GetMouse() : nullptr;
    }
    return m_mouse.Get();
}

void TunPlayer::CreateMirrorDevices() {
    m_keyboard = Input::KeyboardImp::CreateRemote();
    m_mouse = Input::MouseImp::CreateRemote();
}

void TunPlayer::WriteRecord(Network::PayloadWriter& writer) const {
    writer.WriteU32(m_id);
    writer.WriteU8(m_isHost ? 1 : 0);
    writer.WriteAddress(m_address);
    writer.WriteString(m_name);
}

namespace {

struct RecordFields {
    std::uint32_t id = 0;
    std::uint8_t hostFlag = 0;
    Network::Tun_Address address;
    Core::String name;
};

bool ReadRecordFields(Network::PayloadReader& reader, RecordFields& fields) {
    fields.id = reader.ReadU32();
    fields.hostFlag = reader.ReadU8();
    fields.address = reader.ReadAddress();
    fields.name = reader.ReadString();
    return !reader.HasFailed() && fields.hostFlag <= 1;
}

}  // namespace

bool TunPlayer::ReadRecord(Network::PayloadReader& reader) {
    RecordFields fields;
    if (!ReadRecordFields(reader, fields)) {
        return false;
    }
    m_id = fields.id;
    m_isHost = fields.hostFlag == 1;
    m_address = fields.address;
    m_name = std::move(fields.name);
    return true;
}

bool TunPlayer::SkipRecord(Network::PayloadReader& reader) {
    RecordFields fields;
    return ReadRecordFields(reader, fields);
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::TunPlayer)
