#include "Fuzz_RunningGame.h"

#include "network/Network_LocalHostTestHooks.h"
#include "network/Network_PayloadWriter.h"
#include "network/Network_TunNet.h"
#include "network/Network_TunNetTestHooks.h"
#include "os/OS_SocketAddress.h"
#include "support/MovingClock.h"
#include "support/Network_TunNetPacketDelivery.h"

// Packets from peers into a running game's network front end: a host with
// one remote player (the client's id below), or a client joined to a host, made fresh for each input.
// The input's first byte picks the role (bit 0: host; bit 1: the listener
// refuses joins); then records of a control byte, a type byte, a length byte
// and up to that many payload bytes. The control byte's bits 0-1 pick the
// source (the peer, a stranger, the any-address), bit 2 the datagram socket
// instead of the stream, bits 3-4 the event (a message, or the socket or an
// accepted connection closing). Then the front end and the game step and
// the session shuts down.
namespace {

constexpr std::uint16_t kPeerPort = 40000;
constexpr std::uint16_t kStrangerPort = 50999;
constexpr std::uint32_t kHostPlayerId = 9001;
constexpr std::uint32_t kClientPlayerId = 9002;
constexpr std::uint8_t kTypeCount = 21;

bool g_admit = true;

bool Listen(Tundra::NetMessage*) { return g_admit; }

Tundra::Level* NetworkLevel() {
    auto* level = TUN_NEW(Tundra::Level);
    level->SetTypeName("0");
    level->AddLayer(TUN_NEW(Tundra::Layer, 0.0f));
    return level;
}

// Real time and loopback for the session's threads, for the whole run.
void PrepareOnce() {
    static testsupport::MovingClock clock;
    static const bool prepared = [] {
        Network::ForceLocalHost(os::kLoopbackIPv4);
        Tundra::TunNetTestAccess::SetDiscoveryPortOverride(0);
        return true;
    }();
    (void)prepared;
}

Network::Tun_Address Loopback(std::uint16_t port) { return Network::Tun_Address("127.0.0.1", port); }

Core::RefPtr<Tundra::TunPlayer> Player(const char* name, bool isLocal, bool isHost, std::uint16_t port,
                                       std::uint32_t id) {
    Core::RefPtr<Tundra::TunPlayer> player =
        TUN_NEW(Tundra::TunPlayer, name, isLocal, isHost, port != 0 ? Loopback(port) : Network::Tun_Address());
    player->SetID(id);
    return player;
}

bool StartHost(Tundra::TunNet& network) {
    if (!network.Start(true, &Listen, "Room", "", 5, 3, 60, 0, 0) || !network.HostSession("Host", 4, 1, 0.25f)) {
        return false;
    }
    return network.AddPlayer(Player("Ann", false, false, kPeerPort, kClientPlayerId).Get());
}

// Joined without a handshake: the host's record and the local player.
bool StartClient(Tundra::TunNet& network) {
    if (!network.Start(false, &Listen, "", "", 5, 3, 60, 0, 0)) {
        return false;
    }
    const Core::RefPtr<Tundra::TunPlayer> local = Player("Me", true, false, kPeerPort, kClientPlayerId);
    Tundra::TunNetTestAccess::SetRoles(network, false, false, true, local.Get());
    return network.AddPlayer(local.Get()) &&
           network.AddPlayer(Player("Host", false, true, 0, kHostPlayerId).Get());
}

void DeliverRecords(Tundra::TunNet& network, bool host, fuzz::Input& input) {
    const Network::Tun_Address sources[] = {host ? Loopback(kPeerPort) : Network::Tun_Address(),
                                            Loopback(kStrangerPort), Network::Tun_Address()};
    while (!input.Empty()) {
        const std::uint8_t control = input.Byte();
        const std::uint32_t type = input.Byte() % kTypeCount;
        fuzz::Bytes payload(input.Byte());
        for (std::uint8_t& byte : payload) {
            byte = input.Byte();
        }
        const Network::Tun_Address& source = sources[(control & 3) % 3];
        const bool datagram = (control & 4) != 0;
        const std::int32_t socketId = host ? (datagram ? Tundra::kHostDatagramSocket : Tundra::kHostStreamSocket)
                                           : (datagram ? (type == 0 ? Tundra::kDiscoverySocket
                                                                    : Tundra::kClientDatagramSocket)
                                                       : Tundra::kClientStreamSocket);
        const auto handler = host ? testsupport::Handler::Host : testsupport::Handler::Client;
        switch ((control >> 3) & 3) {
        case 2:
        case 3: {
            const auto kind = ((control >> 3) & 3) == 2 ? Network::Tun_Event_Kind::SocketClosed
                                                        : Network::Tun_Event_Kind::AcceptedConnectionClosed;
            Network::Tun_Event closed(kind, Tundra::TunNetTestAccess::GetSession(network), socketId, source);
            (host ? Tundra::TunNet::HostPacketHandler : Tundra::TunNet::ClientPacketHandler)(&closed);
            break;
        }
        default:
            testsupport::DeliverPacket(network, handler, socketId, source, type, payload);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PrepareOnce();
    Tundra::Game& game = fuzz::RestartedGame<NetworkLevel>();
    fuzz::Input input(data, size);
    const std::uint8_t role = input.Byte();
    const bool host = (role & 1) != 0;
    g_admit = (role & 2) == 0;
    {
        Tundra::TunNet network;
        if ((host ? StartHost(network) : StartClient(network))) {
            DeliverRecords(network, host, input);
            network.Update(fuzz::kFrame);
            fuzz::Step(game, 2);
        }
        network.Shutdown();
    }
    fuzz::Step(game, 1);
    return 0;
}

namespace {

fuzz::Bytes Record(std::uint8_t control, Tundra::TunPacket type, const std::vector<std::uint8_t>& payload) {
    fuzz::Bytes bytes{control, static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(payload.size())};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

template <class Write>
std::vector<std::uint8_t> Payload(const Write& write) {
    std::vector<std::uint8_t> payload;
    Network::PayloadWriter writer(payload);
    write(writer);
    return payload;
}

}  // namespace

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    using Tundra::TunPacket;
    PrepareOnce();
    const std::uint32_t peer = kClientPlayerId;
    const auto ids = [](std::initializer_list<std::uint32_t> values) {
        return Payload([&](Network::PayloadWriter& writer) {
            for (const std::uint32_t value : values) {
                writer.WriteU32(value);
            }
        });
    };
    const auto text = [](std::uint32_t sender, std::uint32_t target) {
        return Payload([&](Network::PayloadWriter& writer) {
            writer.WriteU32(sender);
            writer.WriteU32(target);
            writer.WriteString("hi");
        });
    };
    const auto record = [](const char* name, bool isHost, std::uint32_t id) {
        return Payload([&](Network::PayloadWriter& writer) {
            Player(name, false, isHost, kPeerPort + 1, id)->WriteRecord(writer);
        });
    };
    const auto join = Payload([&](Network::PayloadWriter& writer) {
        writer.WriteString("");
        Player("Eve", false, false, kPeerPort, 0)->WriteRecord(writer);
    });
    const auto group = Payload([&](Network::PayloadWriter& writer) {
        writer.WriteU32(peer);
        writer.WriteU32(70000);
        writer.WriteString("team");
        writer.WriteU32(peer);
    });
    const auto announcement = Payload([&](Network::PayloadWriter& writer) {
        Tundra::TunBroadcast::WriteAnnouncement(writer, Loopback(kPeerPort), 4, 1, false, "Room", "EL");
    });
    const auto data = Payload([&](Network::PayloadWriter& writer) {
        for (const std::uint32_t value : {kHostPlayerId, 1u, 7u, 2u}) {
            writer.WriteU32(value);
        }
        writer.WriteU8(1);
        writer.WriteU8(2);
    });
    const auto level = Payload([](Network::PayloadWriter& writer) { writer.WriteString("0"); });

    fuzz::Bytes host{1};
    for (const fuzz::Bytes& each :
         {Record(2, TunPacket::JoinRequest, join), Record(0, TunPacket::GroupCreate, group),
          Record(0, TunPacket::GroupDestroy, ids({peer, 70000})), Record(0, TunPacket::Text, text(peer, 1)),
          Record(4, TunPacket::Keyboard, ids({peer, 0x01010101, 0, 65})), Record(4, TunPacket::PingAnswer, ids({peer})),
          Record(0, TunPacket::SnapshotRequest, ids({peer})), Record(24, TunPacket::Announcement, {})}) {
        host.insert(host.end(), each.begin(), each.end());
    }
    seeds.Add("host", host);
    fuzz::Bytes client{0};
    for (const fuzz::Bytes& each :
         {Record(4, TunPacket::Announcement, announcement),
          Record(0, TunPacket::PlayerJoined, record("Dee", false, 9100)),
          Record(0, TunPacket::Text, text(kHostPlayerId, 1)), Record(0, TunPacket::Data, data),
          Record(0, TunPacket::LevelName, level), Record(0, TunPacket::Snapshot, ids({0})),
          Record(4, TunPacket::PingRequest, ids({kHostPlayerId})),
          Record(0, TunPacket::PlayerLeft, record("Host", true, kHostPlayerId)), Record(16, TunPacket::Text, {})}) {
        client.insert(client.end(), each.begin(), each.end());
    }
    seeds.Add("client", client);
}
