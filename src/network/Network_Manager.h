#pragma once

#include "core/Core_Object.h"
#include "core/Core_String.h"
#include "network/Network_Event.h"
#include "tundra/Tundra_UnclonableClass.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Network {

class Tun_Session;

// Owns the process's socket library and the sessions it made, in creation
// order.
class Tun_Network_Manager : public Core::Object {
    TUN_DECLARE_UNCLONABLE_CLASS(Tun_Network_Manager);

public:
    Tun_Network_Manager() = default;
    // Closes every session.
    ~Tun_Network_Manager() override;
    Tun_Network_Manager(const Tun_Network_Manager&) = delete;
    Tun_Network_Manager& operator=(const Tun_Network_Manager&) = delete;

    // Starts the socket library; false the second time.
    bool Initialize();
    // An open session, or null when it cannot be opened.
    Tun_Session* CreateSession(const Core::String& name, const Core::String& text, std::uint8_t openFlag,
                               Tun_PacketHandler handler, std::int32_t priority, std::uint8_t threaded,
                               std::int32_t workerLimit, std::uint32_t idleSleepMilliseconds,
                               std::uint32_t selectTimeoutMilliseconds);
    // Closes and frees a listed session; false for one not listed or not open
    // (it stays listed).
    bool DestroySession(Tun_Session* session);
    void CloseAllSessions();

private:
    bool m_started = false;
    std::vector<std::unique_ptr<Tun_Session>> m_sessions;
};

}  // namespace Network
