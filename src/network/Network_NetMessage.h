#pragma once

#include "core/Core_Object.h"
#include "core/Core_String.h"
#include "network/Network_Address.h"

#include <cstdint>

namespace Tundra {

class TunPlayer;

// What the front end tells the game's listener. Pointers inside a message
// are valid only during the listener call.
enum class NetMessageKind : std::uint32_t {
    SessionHosted = 0,
    SessionJoined = 1,
    JoinRequest = 2,
    JoinAnswer = 3,
    PlayerAdded = 4,
    PlayerLeaving = 5,
    Text = 6,
    Data = 7,
    SessionEnded = 8,
};

class NetMessage : public Core::Object {
    TUN_DECLARE_CLASS(NetMessage);
    NetMessage() = default;
    explicit NetMessage(NetMessageKind kind) : m_kind(kind) {}
    NetMessageKind GetKind() const { return m_kind; }

private:
    NetMessageKind m_kind = NetMessageKind::SessionHosted;
};

class NetSessionMessage : public NetMessage {
    TUN_DECLARE_CLASS(NetSessionMessage);
    NetSessionMessage() = default;
    NetSessionMessage(NetMessageKind kind, const Network::Tun_Address& hostAddress)
        : NetMessage(kind), m_hostAddress(hostAddress) {}
    const Network::Tun_Address& GetHostAddress() const { return m_hostAddress; }

private:
    Network::Tun_Address m_hostAddress;
};

class NetPlayerMessage : public NetMessage {
    TUN_DECLARE_CLASS(NetPlayerMessage);
    NetPlayerMessage() = default;
    NetPlayerMessage(NetMessageKind kind, TunPlayer* player) : NetMessage(kind), m_player(player) {}
    TunPlayer* GetPlayer() const { return m_player; }

private:
    TunPlayer* m_player = nullptr;
};

class NetTextMessage : public NetMessage {
    TUN_DECLARE_CLASS(NetTextMessage);
    NetTextMessage() = default;
    NetTextMessage(const Core::String& text, TunPlayer* sender)
        : NetMessage(NetMessageKind::Text), m_text(text), m_sender(sender) {}
    const Core::String& GetText() const { return m_text; }
    TunPlayer* GetSender() const { return m_sender; }

private:
    Core::String m_text;
    TunPlayer* m_sender = nullptr;
};

// Kind 3 (join answer: data points at the i32 result) and kind 7 (data
// message: null data when the size is 0).
class NetDataMessage : public NetMessage {
    TUN_DECLARE_CLASS(NetDataMessage);
    NetDataMessage() = default;
    NetDataMessage(NetMessageKind kind, std::uint32_t code, std::uint32_t size, const void* data, TunPlayer* sender)
        : NetMessage(kind), m_code(code), m_size(size), m_data(data), m_sender(sender) {}
    std::uint32_t GetCode() const { return m_code; }
    std::uint32_t GetDataSize() const { return m_size; }
    const void* GetData() const { return m_data; }
    TunPlayer* GetSender() const { return m_sender; }

private:
    std::uint32_t m_code = 0;
    std::uint32_t m_size = 0;
    const void* m_data = nullptr;
    TunPlayer* m_sender = nullptr;
};

// The game's listener: true admits a player (kind 2); other kinds ignore it.
using NetMessageCallback = bool (*)(NetMessage* message);

}  // namespace Tundra
