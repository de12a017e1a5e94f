#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "network/Network_Address.h"

#include <cstdint>

namespace Input {
class Keyboard;
class Mouse;
class KeyboardImp;
class MouseImp;
}  // namespace Input

namespace Network {
class PayloadReader;
class PayloadWriter;
}  // namespace Network

namespace Tundra {

// A member of a network session. The host gives each remote player mirror
// devices that its packets feed.
class TunPlayer : public Core::Object {
    TUN_DECLARE_CLASS(TunPlayer);
    TunPlayer();
    TunPlayer(const Core::String& name, bool isLocal, bool isHost, const Network::Tun_Address& address);
    TunPlayer(const TunPlayer& other);
    ~TunPlayer() override;

    void PushToLua(lua_State* state) const override;

    const Core::String& GetName() const { return m_name; }
    std::uint32_t GetID() const { return m_id; }
    void SetID(std::uint32_t id) { m_id = id; }
    bool IsLocal() const { return m_isLocal; }
    bool IsHost() const { return m_isHost; }
    double GetPingTime() const { return m_pingTime; }
    void SetPingTime(double milliseconds) { m_pingTime = milliseconds; }
    bool IsSynchronised() const { return m_synchronised; }
    void SetSynchronised(bool synchronised) { m_synchronised = synchronised; }
    const Network::Tun_Address& GetAddress() const { return m_address; }
    void SetAddress(const Network::Tun_Address& address) { m_address = address; }

    // A local host player answers the game's devices, any other player its
    // mirror device, which may be null.
    Input::Keyboard* GetKeyboard() const;
    Input::Mouse* GetMouse() const;
    // Makes the remote-mode keyboard and mouse a host keeps for this player.
    void CreateMirrorDevices();
    Input::KeyboardImp* GetMirrorKeyboard() const { return m_keyboard.Get(); }

    // The wire record: u32 id, u8 host flag, the 16-byte address, the name
    // and a zero byte. Reading changes nothing unless the whole record reads
    // (the local flag is never read).
    void WriteRecord(Network::PayloadWriter& writer) const;
    bool ReadRecord(Network::PayloadReader& reader);
    // Reads past a whole record; false when none is there. Any thread.
    static bool SkipRecord(Network::PayloadReader& reader);

private:
    Core::RefPtr<Input::KeyboardImp> m_keyboard;
    Core::RefPtr<Input::MouseImp> m_mouse;
    Core::String m_name;
    std::uint32_t m_id = 0;
    bool m_isLocal = false;
    bool m_isHost = false;
    Network::Tun_Address m_address;
    bool m_synchronised = false;
    double m_pingTime = 0.0;
};

}  // namespace Tundra
