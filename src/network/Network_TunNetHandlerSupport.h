#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "network/Network_Event.h"
#include "network/Network_Message.h"
#include "network/Network_PayloadReader.h"
#include "network/Network_TunNet.h"

#include <cstdint>
#include <span>

// What the host and client packet handlers share.
namespace Tundra::handlers {

// A handler that cannot use a message frees it itself: the drain that
// delivered it would keep it otherwise. The fields are cleared so that
// freeing the event's list later cannot free it twice.
inline void FreeEventMessage(Network::Tun_Event& event) {
    Network::RawMessage message = event.DetachMessage();
    Network::FreeMessage(message);
}

// The front end that takes the event, or null: then the message is freed
// and the handler answers false.
inline TunNet* FrontEndFor(Network::Tun_Event& event) {
    TunNet* network = TunNet::GetCurrent();
    if (network == nullptr) {
        FreeEventMessage(event);
    }
    return network;
}

// A text (u32 sender, u32 target, the text) or a data message (u32 sender,
// u32 group, u32 code, u32 size, the bytes).
struct TextOrData {
    TunPacket type = TunPacket::Text;
    std::uint32_t senderId = 0;
    std::uint32_t targetId = 0;
    Core::String text;
    std::uint32_t code = 0;
    std::span<const std::uint8_t> data;

    // False when the payload does not read whole.
    bool Read(TunPacket packetType, Network::PayloadReader& reader) {
        type = packetType;
        senderId = reader.ReadU32();
        targetId = reader.ReadU32();
        if (type == TunPacket::Text) {
            text = reader.ReadString();
        } else {
            code = reader.ReadU32();
            data = reader.ReadBytes(reader.ReadU32());
        }
        return !reader.HasFailed();
    }

    // What the listener hears of it; data is null when the size is 0.
    Core::RefPtr<NetMessage> MakeMessage(TunPlayer* sender) const {
        if (type == TunPacket::Text) {
            return TUN_NEW(NetTextMessage, text, sender);
        }
        const auto size = static_cast<std::uint32_t>(data.size());
        return TUN_NEW(NetDataMessage, NetMessageKind::Data, code, size, size > 0 ? data.data() : nullptr, sender);
    }
};

// The remote player of that id whose address is the packet's source: no
// packet speaks for a player it did not come from.
inline TunPlayer* FindSender(const TunNet& network, std::uint32_t id, const Network::Tun_Address& source) {
    TunPlayer* player = network.FindPlayer(id);
    if (player == nullptr || player->IsLocal() || !player->GetAddress().SameEndpoint(source)) {
        return nullptr;
    }
    return player;
}

}  // namespace Tundra::handlers
