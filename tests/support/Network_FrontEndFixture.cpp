#include "support/Network_FrontEndFixture.h"

#include "network/Network_LocalHostTestHooks.h"
#include "network/Network_TunNetTestHooks.h"
#include "network/Network_TunPlayer.h"
#include "os/OS_Sleep.h"
#include "os/OS_SocketAddress.h"

#include <cstring>
#include <utility>

namespace testsupport {

namespace {

struct ListenerState {
    std::vector<HeardMessage> heard;
    bool admit = true;
    std::function<void(const HeardMessage&)> reaction;
};

ListenerState& State() {
    static ListenerState state;
    return state;
}

void CopyPlayer(const Tundra::TunPlayer* player, HeardMessage& heard) {
    if (player == nullptr) {
        return;
    }
    heard.hasPlayer = true;
    heard.playerId = player->GetID();
    heard.playerName = player->GetName().c_str();
    heard.playerIsLocal = player->IsLocal();
    heard.playerIsHost = player->IsHost();
    heard.playerAddress = player->GetAddress();
}

void CopySender(const Tundra::TunPlayer* sender, HeardMessage& heard) {
    heard.hasSender = sender != nullptr;
    heard.senderId = sender != nullptr ? sender->GetID() : 0;
}

HeardMessage Copy(const Tundra::NetMessage& message) {
    using Kind = Tundra::NetMessageKind;
    HeardMessage heard;
    heard.kind = message.GetKind();
    switch (heard.kind) {
        case Kind::SessionHosted:
        case Kind::SessionJoined:
        case Kind::SessionEnded:
            heard.hostAddress = static_cast<const Tundra::NetSessionMessage&>(message).GetHostAddress();
            break;
        case Kind::JoinRequest:
        case Kind::PlayerAdded:
        case Kind::PlayerLeaving:
            CopyPlayer(static_cast<const Tundra::NetPlayerMessage&>(message).GetPlayer(), heard);
            break;
        case Kind::Text: {
            const auto& text = static_cast<const Tundra::NetTextMessage&>(message);
            heard.text = text.GetText().c_str();
            CopySender(text.GetSender(), heard);
            break;
        }
        case Kind::JoinAnswer:
        case Kind::Data: {
            const auto& data = static_cast<const Tundra::NetDataMessage&>(message);
            heard.code = data.GetCode();
            heard.size = data.GetDataSize();
            heard.dataNull = data.GetData() == nullptr;
            CopySender(data.GetSender(), heard);
            const std::uint32_t bytes = heard.kind == Kind::JoinAnswer ? 4 : heard.size;
            if (!heard.dataNull) {
                const auto* first = static_cast<const std::uint8_t*>(data.GetData());
                heard.data.assign(first, first + bytes);
            }
            if (heard.kind == Kind::JoinAnswer && !heard.dataNull) {
                std::memcpy(&heard.joinResult, data.GetData(), 4);
            }
            break;
        }
    }
    return heard;
}

}  // namespace

bool RecordingListener::Listen(Tundra::NetMessage* message) {
    if (message == nullptr) {
        return false;
    }
    State().heard.push_back(Copy(*message));
    const HeardMessage heard = State().heard.back();
    // A copy: the reaction may replace itself.
    if (const std::function<void(const HeardMessage&)> reaction = State().reaction) {
        reaction(heard);
    }
    return State().admit;
}

void RecordingListener::Clear() { State() = ListenerState(); }

const std::vector<HeardMessage>& RecordingListener::Heard() { return State().heard; }

std::vector<Tundra::NetMessageKind> RecordingListener::Kinds() {
    std::vector<Tundra::NetMessageKind> kinds;
    for (const HeardMessage& heard : State().heard) {
        kinds.push_back(heard.kind);
    }
    return kinds;
}

std::size_t RecordingListener::Count(Tundra::NetMessageKind kind) {
    std::size_t count = 0;
    for (const HeardMessage& heard : State().heard) {
        count += heard.kind == kind ? 1 : 0;
    }
    return count;
}

void RecordingListener::SetAdmit(bool admit) { State().admit = admit; }

void RecordingListener::SetReaction(std::function<void(const HeardMessage&)> reaction) {
    State().reaction = std::move(reaction);
}

std::uint16_t FreeDatagramPort() { return WirePeer::OpenDatagram(0).GetLocalPort(); }

WirePeer OpenDiscoveryListener(std::uint16_t port) {
    WirePeer peer(os::OpenSocket(os::SocketType::Datagram));
    if (!peer.IsOpen() ||
        !os::ApplySocketOptions(peer.GetHandle(), os::SocketType::Datagram,
                                os::kSocketOptionReuseAddress | os::kSocketOptionBroadcast) ||
        !os::BindSocket(peer.GetHandle(), os::MakeSocketAddress(0, port))) {
        return {};
    }
    return peer;
}

std::optional<WireMessage> ReceiveDatagramMessage(WirePeer& peer, milliseconds limit) {
    const std::optional<Bytes> datagram = peer.ReceiveDatagram(limit);
    if (!datagram || datagram->size() < 8) {
        return std::nullopt;
    }
    return WireMessage{U32At(*datagram, 0), Bytes(datagram->begin() + 8, datagram->end())};
}

std::vector<WireMessage> ReceiveDatagramsUntilQuiet(WirePeer& peer, milliseconds quiet) {
    std::vector<WireMessage> messages;
    while (std::optional<WireMessage> message = ReceiveDatagramMessage(peer, quiet)) {
        messages.push_back(std::move(*message));
    }
    return messages;
}

std::size_t CountOfType(const std::vector<WireMessage>& messages, std::uint32_t type) {
    std::size_t count = 0;
    for (const WireMessage& message : messages) {
        count += message.type == type ? 1 : 0;
    }
    return count;
}

bool PumpUntil(Tundra::TunNet& network, const std::function<bool()>& done, std::chrono::milliseconds limit,
               float dt) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return done();
        }
        network.Update(dt);
        os::Sleep(1);
    }
    return true;
}

void PumpFrames(Tundra::TunNet& network, int frames, float dt) {
    for (int i = 0; i < frames; ++i) {
        network.Update(dt);
        os::Sleep(1);
    }
}

bool StartHost(Tundra::TunNet& network, const char* sessionName, const char* password, std::uint32_t maxPlayers,
               std::uint32_t updatesPerSecond, const char* playerName) {
    // The discovery port comes from the environment's override.
    return network.Start(true, &RecordingListener::Listen, sessionName, password, 5, 3, updatesPerSecond, 3000, 0) &&
           network.HostSession(playerName, maxPlayers, 1, 0.25f);
}

bool StartClient(Tundra::TunNet& network, std::uint32_t updatesPerSecond) {
    return network.Start(false, &RecordingListener::Listen, "", "", 5, 3, updatesPerSecond, 3000, 0);
}

std::uint16_t HostPort(const Tundra::TunNet& network) {
    const Tundra::TunPlayer* host = network.GetLocalPlayer();
    return host != nullptr ? host->GetAddress().GetPort() : 0;
}

bool WireClient::RequestJoin(std::string_view password, std::string_view name) {
    return stream.Write(FramedMessage(1, JoinRequest(password, Port(), name)));
}

std::optional<WireMessage> WireClient::ReadUntil(std::uint32_t type, milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        const auto left = std::chrono::duration_cast<milliseconds>(end - std::chrono::steady_clock::now());
        std::optional<WireMessage> message = stream.ReadMessage(left);
        if (!message || message->type == type) {
            return message;
        }
    }
    return std::nullopt;
}

WireClient ConnectWireClient(std::uint16_t hostPort) {
    WireClient client;
    client.datagram = DatagramTwin([&](std::uint16_t port) {
        client.stream = WirePeer::ConnectStream(hostPort, port);
        return client.stream.IsOpen();
    });
    return client;
}

JoinedWireClient JoinWireClient(Tundra::TunNet& host, std::string_view name, std::string_view password) {
    JoinedWireClient joined{ConnectWireClient(HostPort(host))};
    if (!joined.client.RequestJoin(password, name)) {
        return joined;
    }
    PumpUntil(host, [&] {
        const std::optional<WireMessage> answer = joined.client.stream.ReadMessage(milliseconds(1));
        if (answer && answer->type == 2) {
            joined.result = static_cast<std::int32_t>(U32At(answer->payload, 0));
            return true;
        }
        return false;
    });
    return joined;
}

Tundra::TunPlayer* AddRemotePlayer(Tundra::TunNet& host, std::uint16_t port, const char* name) {
    const Core::RefPtr<Tundra::TunPlayer> player(
        TUN_NEW(Tundra::TunPlayer, name, false, false, Network::Tun_Address("127.0.0.1", port)));
    // Tests compare ids relatively: far above any the host has given.
    player->SetID(host.GetLocalPlayer() != nullptr ? host.GetLocalPlayer()->GetID() + 1000 : 1000);
    return host.AddPlayer(player.Get()) ? player.Get() : nullptr;
}

WireHost::WireHost()
    : m_datagram(DatagramTwin([this](std::uint16_t port) {
          m_listener.emplace(port);
          return m_listener->IsOpen();
      })) {
    // Without a datagram socket the host still listens; only Datagram() is not open.
    if (!m_listener) {
        m_listener.emplace();
    }
}

WireHost::~WireHost() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

Network::Tun_Address WireHost::Address() const { return Network::Tun_Address("127.0.0.1", GetPort()); }

void WireHost::AnswerJoin(std::vector<Bytes> replies) {
    m_thread = std::thread([this, replies = std::move(replies)] {
        m_connection = m_listener->Accept();
        if (!m_connection.IsOpen()) {
            return;
        }
        m_request = m_connection.ReadMessage();
        for (const Bytes& reply : replies) {
            m_connection.Write(reply);
        }
    });
}

std::optional<WireMessage> WireHost::JoinRequestRead() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return m_request;
}

FrontEndEnvironment::FrontEndEnvironment() : m_discoveryPort(FreeDatagramPort()) {
    Network::ForceLocalHost(os::kLoopbackIPv4);
    Tundra::TunNetTestAccess::SetDiscoveryPortOverride(m_discoveryPort);
    RecordingListener::Clear();
}

FrontEndEnvironment::~FrontEndEnvironment() {
    RecordingListener::Clear();
    Tundra::TunNetTestAccess::SetDiscoveryPortOverride(0);
    Tundra::TunNetTestAccess::SetJoinWaitLimit(5000);
    Network::ClearForcedLocalHost();
}

void FrontEndTest::SetUp() {
    m_environment.emplace();
    m_network = std::make_unique<Tundra::TunNet>();
}

void FrontEndTest::TearDown() {
    // Ends the session while the clock still moves.
    m_network->Shutdown();
    m_network.reset();
    m_environment.reset();
}

void FrontEndGameTest::SetUp() {
    GameTest::SetUp();
    m_environment.emplace();
    Start();
}

void FrontEndGameTest::TearDown() {
    if (m_game) {
        Net().Shutdown();
    }
    m_environment.reset();
    GameTest::TearDown();
}

}  // namespace testsupport
