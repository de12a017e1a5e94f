#pragma once

#include "core/Core_Object.h"
#include "core/Core_String.h"

#include <cstdint>

namespace Tundra {

class GameObject;

// A member of a network session.
class TunPlayer {
public:
    explicit TunPlayer(std::uint32_t id) : m_id(id) {}
    std::uint32_t GetID() const { return m_id; }

private:
    std::uint32_t m_id;
};

// The network identity of a replicated object.
class NetObjectID : public Core::Object {
    TUN_DECLARE_CLASS(NetObjectID);
    NetObjectID() = default;
    NetObjectID(std::uint32_t ownerPlayerId, std::uint32_t objectNumber)
        : m_owner(ownerPlayerId), m_number(objectNumber) {}

    std::uint32_t GetOwnerId() const { return m_owner; }
    std::uint32_t GetObjectNumber() const { return m_number; }

private:
    std::uint32_t m_owner = 0;
    std::uint32_t m_number = 0;
};

// Made by a game object's Initialize; nothing reads it yet.
class TunComponentManager : public Core::Object {
    TUN_DECLARE_CLASS(TunComponentManager);
    TunComponentManager() = default;
};

// The network front end. Until the networking subsystem fills it in, no
// session ever starts: it is never a network game.
class TunNet {
public:
    TunNet() = default;
    TunNet(const TunNet&) = delete;
    TunNet& operator=(const TunNet&) = delete;
    ~TunNet() = default;

    // mode 0 starts a client, 1 a host. Until the networking subsystem
    // comes, the stand-in starts only when its test state lets it.
    bool Start(std::uint32_t mode, const Core::String& name, const Core::String& second);
    bool HostSession(const Core::String& text, std::uint32_t playerCount);
    // The text that announcements of this game's sessions carry.
    void SetNetworkName(const Core::String& name) { m_networkName = name; }
    const Core::String& GetNetworkName() const { return m_networkName; }

    void UpdatePlayerDevices();
    void Update(float dt);
    // False when no session runs.
    bool Shutdown();
    bool IsNetworkGame() const;
    bool IsHost() const;
    TunPlayer* GetLocalPlayer() const;
    void ClearNetworkObjects();
    // group: null for all players.
    bool SendToGroup(std::uint32_t type, const void* data, std::uint32_t size, const void* group, bool reliable);
    bool AddNetworkObject(GameObject* object, std::uint32_t layerIndex, TunPlayer* owner);
    bool RemoveNetworkObject(GameObject* object);

private:
    Core::String m_networkName;
    bool m_running = false;
};

}  // namespace Tundra
