#include "Fuzz_RunningGame.h"

#include "network/Network_LocalHostTestHooks.h"
#include "network/Network_NetReplicaBytes.h"
#include "network/Network_PayloadWriter.h"
#include "network/Network_TunNet.h"
#include "network/Network_TunNetTestHooks.h"
#include "os/OS_Socket.h"
#include "os/OS_SocketAddress.h"
#include "os/OS_SocketPoll.h"
#include "support/MovingClock.h"
#include "support/Network_TunNetPacketDelivery.h"
#include "support/Network_WirePeer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>

// A hostile peer's stream into a running game's network front end over many
// frames: a host with one remote player (the client's id below) and objects
// of its own and of that player, or a client joined to a host, made fresh
// for each input. The input's first byte picks the role (bit 0: host; bit 1:
// the listener refuses joins); then records of a control byte, a type byte, a
// length byte and up to that many payload bytes. The control byte's bits
// 0-2 pick the source (the peer, one of six strangers, the first three
// connected and so able to join, the any-address), bit 3 the datagram socket instead of the stream, bits 4-5
// the event (a message, or the socket or an accepted connection closing),
// bit 6 lets a frame pass first, and bit 7 names what the fuzzer cannot
// know: a removal's (owner, object) becomes that of the replicated object
// its first byte indexes, any other payload's first u32 the id of the
// player at the source. After each record the front end must hold: no group
// names a player that is not listed, a client lists no more players than
// the session admits, in id order, and the host's own object is never
// removed by a peer. Then the session shuts down.
namespace {

constexpr std::uint16_t kPeerPort = 40000;
constexpr std::uint16_t kStrangerPort = 50990;
constexpr std::uint32_t kHostPlayerId = 9001;
constexpr std::uint32_t kClientPlayerId = 9002;
constexpr std::uint32_t kClientMaxPlayers = 8;
constexpr std::uint8_t kTypeCount = 21;
// Each frame drains with the game's wait: a bounded count keeps an input quick.
constexpr int kMostFrames = 32;
// The first strangers have a real connection to the host: their joins go
// over the wire, so that the host's answer has somewhere to go.
constexpr std::size_t kConnectedStrangers = 3;
using Connections = std::array<testsupport::WirePeer, kConnectedStrangers>;
// Control byte bits.
constexpr std::uint8_t kStranger = 1;
constexpr std::uint8_t kDatagram = 8;
constexpr std::uint8_t kSocketClosed = 2 << 4;
constexpr std::uint8_t kAcceptedClosed = 3 << 4;
constexpr std::uint8_t kFramePasses = 64;
constexpr std::uint8_t kNameIds = 128;

bool g_admit = true;

bool Listen(Tundra::NetMessage*) { return g_admit; }

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

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

// Both roles clone this template for the objects they replicate.
bool AddTemplate(Tundra::TunNet& network) { return network.AddBaseNetObject(TUN_NEW(Tundra::GameObject), "T"); }

// A replicated object of the owner's in the level's first layer.
Tundra::GameObject* AddObject(Tundra::Game& game, Tundra::TunNet& network, Tundra::TunPlayer* owner) {
    const Core::RefPtr<Tundra::GameObject> object = TUN_NEW(Tundra::GameObject);
    Tundra::Layer* layer = game.GetCurrentLevel()->GetLayer(0);
    layer->AddGameObject(object.Get());
    return network.AddNetworkObject(object.Get(), 0, owner) ? object.Get() : nullptr;
}

// The host's own object, which no peer may remove; null when not hosting.
Tundra::GameObject* StartHost(Tundra::Game& game, Tundra::TunNet& network) {
    if (!network.Start(true, &Listen, "Room", "", 5, 3, 60, 0, 0) || !network.HostSession("Host", 4, 1, 0.25f)) {
        return nullptr;
    }
    const Core::RefPtr<Tundra::TunPlayer> ann = Player("Ann", false, false, kPeerPort, kClientPlayerId);
    if (!network.AddPlayer(ann.Get()) || !AddTemplate(network) || AddObject(game, network, ann.Get()) == nullptr) {
        return nullptr;
    }
    return AddObject(game, network, nullptr);
}

// Joined without a handshake: the host's record and the local player.
bool StartClient(Tundra::TunNet& network) {
    if (!network.Start(false, &Listen, "", "", 5, 3, 60, 0, 0)) {
        return false;
    }
    const Core::RefPtr<Tundra::TunPlayer> local = Player("Me", true, false, kPeerPort, kClientPlayerId);
    Tundra::TunNetTestAccess::SetRoles(network, false, false, true, local.Get());
    Tundra::TunNetTestAccess::SetMaxPlayers(network, kClientMaxPlayers);
    return network.AddPlayer(local.Get()) && network.AddPlayer(Player("Host", false, true, 0, kHostPlayerId).Get()) &&
           AddTemplate(network);
}

Connections ConnectStrangers(const Tundra::TunNet& network) {
    Connections connections;
    const std::uint16_t hostPort = network.GetLocalPlayer()->GetAddress().GetPort();
    for (testsupport::WirePeer& connection : connections) {
        connection = testsupport::WirePeer::ConnectStream(hostPort);
    }
    return connections;
}

// A join the host will answer: it reads whole and comes from no player.
bool AnsweredJoin(const Tundra::TunNet& network, const Network::Tun_Address& source, const fuzz::Bytes& payload) {
    Network::PayloadReader reader(payload.data(), static_cast<std::uint32_t>(payload.size()));
    reader.ReadString();
    Tundra::TunPlayer record;
    return !reader.HasFailed() && record.ReadRecord(reader) && network.IsHosting() &&
           network.FindPlayerByAddress(source) == nullptr;
}

// Sends the join on the stranger's connection and lets the host run until
// its answer arrives (what came before is dropped unread).
void JoinOnTheWire(Tundra::TunNet& network, testsupport::WirePeer& connection, const fuzz::Bytes& payload) {
    std::uint8_t sink[4096];
    while (os::WaitForSocket(connection.GetHandle(), os::kPollReadable, 0) &&
           os::ReceiveStream(connection.GetHandle(), sink, sizeof sink) > 0) {
    }
    if (!connection.Write(testsupport::FramedMessage(static_cast<std::uint32_t>(Tundra::TunPacket::JoinRequest), payload))) {
        return;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (Tundra::TunNet::GetCurrent() == &network &&
           !os::WaitForSocket(connection.GetHandle(), os::kPollReadable, 0) && std::chrono::steady_clock::now() < end) {
        network.Update(0.0f);
    }
}

// Bit 7 of the control byte: what a peer would know and the fuzzer cannot.
void NameKnownIds(Tundra::TunNet& network, std::uint32_t type, const Network::Tun_Address& source,
                  fuzz::Bytes& payload) {
    Network::PayloadWriter writer(payload);
    if (type == static_cast<std::uint32_t>(Tundra::TunPacket::ObjectRemove)) {
        const auto& objects = network.GetReplicatedObjects();
        if (objects.empty()) {
            return;
        }
        const Tundra::NetObjectID* identity =
            objects[(payload.empty() ? 0 : payload[0]) % objects.size()]->GetNetworkId();
        writer.Clear();
        writer.WriteU32(identity->GetOwnerId());
        writer.WriteU32(identity->GetObjectNumber());
        return;
    }
    const Tundra::TunPlayer* player = network.FindPlayerByAddress(source);
    if (player == nullptr || payload.size() < 4) {
        return;
    }
    fuzz::Bytes rest(payload.begin() + 4, payload.end());
    writer.Clear();
    writer.WriteU32(player->GetID());
    writer.WriteBytes(rest);
}

void CheckFrontEnd(const Tundra::TunNet& network, bool host, const Tundra::GameObject* hostsObject) {
    const auto listed = [&network](const Tundra::TunPlayer* player) {
        return player == nullptr || network.FindPlayer(player->GetID()) == player;
    };
    for (const Core::RefPtr<Tundra::TunGroup>& group : Tundra::TunNetTestAccess::GetGroups(network)) {
        Check(listed(group->GetOwner()));
        for (const Core::RefPtr<Tundra::TunPlayer>& member : group->GetPlayers()) {
            Check(listed(member.Get()));
        }
    }
    const std::vector<Core::RefPtr<Tundra::TunPlayer>> players = network.GetSessionPlayers();
    Check(std::is_sorted(players.begin(), players.end(),
                         [](const auto& a, const auto& b) { return a->GetID() < b->GetID(); }));
    if (!host) {
        Check(players.size() <= kClientMaxPlayers);
    } else if (network.IsNetworkGame()) {
        const Tundra::NetObjectID* identity = hostsObject->GetNetworkId();
        Check(network.FindReplicatedObject(identity->GetOwnerId(), identity->GetObjectNumber()) == hostsObject);
    }
}

void DeliverRecords(Tundra::Game& game, Tundra::TunNet& network, bool host, const Tundra::GameObject* hostsObject,
                    Connections& connections, fuzz::Input& input) {
    std::array<Network::Tun_Address, 8> sources;
    sources[0] = host ? Loopback(kPeerPort) : Network::Tun_Address();
    for (std::uint16_t i = 1; i < 7; ++i) {
        const bool connected = i <= kConnectedStrangers && connections[i - 1].IsOpen();
        sources[i] = Loopback(connected ? connections[i - 1].GetLocalPort() : static_cast<std::uint16_t>(kStrangerPort + i));
    }
    int frames = 0;
    while (!input.Empty()) {
        const std::uint8_t control = input.Byte();
        const std::uint32_t type = input.Byte() % kTypeCount;
        fuzz::Bytes payload(input.Byte());
        for (std::uint8_t& byte : payload) {
            byte = input.Byte();
        }
        if ((control & kFramePasses) != 0 && frames < kMostFrames) {
            ++frames;
            network.Update(fuzz::kFrame);
            fuzz::Step(game, 1);
        }
        const Network::Tun_Address& source = sources[control & 7];
        if ((control & kNameIds) != 0) {
            NameKnownIds(network, type, source, payload);
        }
        const bool datagram = (control & kDatagram) != 0;
        const std::int32_t socketId = host ? (datagram ? Tundra::kHostDatagramSocket : Tundra::kHostStreamSocket)
                                           : (datagram ? (type == 0 ? Tundra::kDiscoverySocket
                                                                    : Tundra::kClientDatagramSocket)
                                                       : Tundra::kClientStreamSocket);
        const auto handler = host ? testsupport::Handler::Host : testsupport::Handler::Client;
        switch ((control >> 4) & 3) {
        case 2:
        case 3: {
            const auto kind = ((control >> 4) & 3) == 2 ? Network::Tun_Event_Kind::SocketClosed
                                                        : Network::Tun_Event_Kind::AcceptedConnectionClosed;
            Network::Tun_Event closed(kind, Tundra::TunNetTestAccess::GetSession(network), socketId, source);
            (host ? Tundra::TunNet::HostPacketHandler : Tundra::TunNet::ClientPacketHandler)(&closed);
            break;
        }
        default: {
            const std::size_t stranger = control & 7;
            if (host && !datagram && type == static_cast<std::uint32_t>(Tundra::TunPacket::JoinRequest) &&
                stranger >= 1 && stranger <= kConnectedStrangers && connections[stranger - 1].IsOpen() &&
                AnsweredJoin(network, source, payload)) {
                JoinOnTheWire(network, connections[stranger - 1], payload);
            } else {
                testsupport::DeliverPacket(network, handler, socketId, source, type, payload);
            }
            break;
        }
        }
        CheckFrontEnd(network, host, hostsObject);
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
        const Core::RefPtr<Tundra::GameObject> hostsObject = host ? StartHost(game, network) : nullptr;
        if (host ? hostsObject != nullptr : StartClient(network)) {
            Connections connections = host ? ConnectStrangers(network) : Connections();
            DeliverRecords(game, network, host, hostsObject.Get(), connections, input);
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
    const auto snapshot = Payload([](Network::PayloadWriter& writer) {
        writer.WriteU32(1);
        writer.WriteBytes(nettest::CreateBytes(0, "T", nettest::Saved("R", 7)));
    });
    const auto append = [](fuzz::Bytes& stream, std::initializer_list<fuzz::Bytes> records) {
        for (const fuzz::Bytes& each : records) {
            stream.insert(stream.end(), each.begin(), each.end());
        }
    };

    // A stranger joins, makes groups, tries to remove the host's object,
    // leaves and joins again, over a few frames; the peer removes its own.
    fuzz::Bytes host{1};
    const std::uint8_t stranger = kStranger | kNameIds;
    append(host, {Record(kStranger, TunPacket::JoinRequest, join),
                  Record(stranger | kFramePasses, TunPacket::GroupCreate, group),
                  Record(stranger, TunPacket::GroupCreate, group), Record(0, TunPacket::GroupCreate, group),
                  Record(stranger, TunPacket::ObjectRemove, {1}), Record(kNameIds, TunPacket::ObjectRemove, {0}),
                  Record(kStranger | kAcceptedClosed | kFramePasses, TunPacket::Announcement, {}),
                  Record(kStranger, TunPacket::JoinRequest, join), Record(stranger | kFramePasses, TunPacket::Text, text(0, 1)),
                  Record(0, TunPacket::GroupDestroy, ids({peer, 70000})), Record(0, TunPacket::Text, text(peer, 1)),
                  Record(kDatagram, TunPacket::Keyboard, ids({peer, 0x01010101, 0, 65})),
                  Record(kDatagram | kFramePasses, TunPacket::PingAnswer, ids({peer})),
                  Record(0, TunPacket::SnapshotRequest, ids({peer})),
                  Record(kSocketClosed, TunPacket::Announcement, {})});
    seeds.Add("host", host);
    // More player records than the session admits, an object made and
    // removed, then the host leaves.
    fuzz::Bytes client{0};
    append(client, {Record(kDatagram, TunPacket::Announcement, announcement)});
    for (std::uint32_t i = 0; i < kClientMaxPlayers + 2; ++i) {
        append(client, {Record(i % 4 == 0 ? kFramePasses : 0, TunPacket::PlayerJoined, record("Dee", false, 9200 - i))});
    }
    append(client, {Record(0, TunPacket::Snapshot, snapshot),
                    Record(kFramePasses, TunPacket::ObjectCreate, nettest::CreateBytes(0, "T", nettest::Saved("S", 8))),
                    Record(kFramePasses, TunPacket::ObjectRemove, nettest::RemoveBytes(2, 7)),
                    Record(kNameIds, TunPacket::ObjectRemove, {0}), Record(0, TunPacket::Text, text(kHostPlayerId, 1)),
                    Record(0, TunPacket::Data, data), Record(kFramePasses, TunPacket::LevelName, level),
                    Record(kDatagram, TunPacket::PingRequest, ids({kHostPlayerId})),
                    Record(0, TunPacket::PlayerLeft, record("Dee", false, 9200)),
                    Record(0, TunPacket::PlayerLeft, record("Host", true, kHostPlayerId)),
                    Record(kSocketClosed, TunPacket::Text, {})});
    seeds.Add("client", client);
}
