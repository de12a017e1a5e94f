#pragma once

#include "network/Network_NetMessage.h"
#include "network/Network_TunNet.h"
#include "support/MovingClock.h"
#include "support/Network_WirePeer.h"
#include "support/Network_WireForms.h"
#include "support/Tundra_TestGame.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Front ends on loopback for tests: the local address forced to 127.0.0.1, a
// moving clock, discovery on a free port, a listener that records every
// message, and the wire peer playing the other side byte by byte.
namespace testsupport {

// A copy of what one message told the listener (pointers inside a message
// are valid only during the call).
struct HeardMessage {
    Tundra::NetMessageKind kind = Tundra::NetMessageKind::SessionHosted;
    // Kinds 0, 1 and 8.
    Network::Tun_Address hostAddress;
    // Kinds 2, 4 and 5: the player.
    bool hasPlayer = false;
    std::uint32_t playerId = 0;
    std::string playerName;
    bool playerIsLocal = false;
    bool playerIsHost = false;
    Network::Tun_Address playerAddress;
    // Kind 6.
    std::string text;
    // Kinds 6 and 7.
    bool hasSender = false;
    std::uint32_t senderId = 0;
    // Kinds 3 and 7: code, size and the size bytes (kind 3: the i32's four
    // bytes, also in joinResult); dataNull when the data pointer was null.
    std::uint32_t code = 0;
    std::uint32_t size = 0;
    bool dataNull = true;
    Bytes data;
    std::int32_t joinResult = 0;
};

// The listener every front end of a test is given (a plain function, so its
// state is shared). Clear restores admitting players and no reaction.
class RecordingListener {
public:
    static bool Listen(Tundra::NetMessage* message);
    static void Clear();
    static const std::vector<HeardMessage>& Heard();
    static std::vector<Tundra::NetMessageKind> Kinds();
    static std::size_t Count(Tundra::NetMessageKind kind);
    // The answer to kind 2 (a join request).
    static void SetAdmit(bool admit);
    // Runs inside the listener call after a message is recorded; it may call
    // back into the front end.
    static void SetReaction(std::function<void(const HeardMessage&)> reaction);
};

// A free datagram port: bound as port 0, then let go.
std::uint16_t FreeDatagramPort();

// A datagram socket on every address at the port, sharing it: hears what a
// host broadcasts to the discovery port on loopback.
WirePeer OpenDiscoveryListener(std::uint16_t port);

// A datagram as a message: its header's type and the payload behind it.
std::optional<WireMessage> ReceiveDatagramMessage(WirePeer& peer, milliseconds limit = kWireWait);
// Every datagram that arrives until none came for quiet.
std::vector<WireMessage> ReceiveDatagramsUntilQuiet(WirePeer& peer, milliseconds quiet = milliseconds(50));
std::size_t CountOfType(const std::vector<WireMessage>& messages, std::uint32_t type);

// Pumps the front end's Update with dt until done holds or the limit passes;
// done's last answer. Sleeps a millisecond between frames.
bool PumpUntil(Tundra::TunNet& network, const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(2000), float dt = 1.0f / 60.0f);
void PumpFrames(Tundra::TunNet& network, int frames, float dt = 1.0f / 60.0f);

// Starts as the game does: host (Start, then HostSession with "Host",
// scope 1, 0.25 s) or client (Start), dispatch budget 5 and wait 3, the
// recording listener, the discovery port of the environment, game port 0.
bool StartHost(Tundra::TunNet& network, const char* sessionName = "Room", const char* password = "",
               std::uint32_t maxPlayers = 4, std::uint32_t updatesPerSecond = 60, const char* playerName = "Host");
bool StartClient(Tundra::TunNet& network, std::uint32_t updatesPerSecond = 60);
// The port of the host's game sockets (stream and datagram).
std::uint16_t HostPort(const Tundra::TunNet& network);

// The wire peer as a joining client: a stream connected to the host's game
// port and a datagram socket bound to the stream's own port, so one address
// serves both, as a real client's does.
struct WireClient {
    WirePeer stream;
    WirePeer datagram;
    std::uint16_t Port() const { return stream.GetLocalPort(); }
    // Sends type 1 on the stream.
    bool RequestJoin(std::string_view password, std::string_view name);
    // The next message of the type on the stream, skipping others.
    std::optional<WireMessage> ReadUntil(std::uint32_t type, milliseconds limit = kWireWait);
};
WireClient ConnectWireClient(std::uint16_t hostPort);
// A wire client that asked the host to join, the host pumped until the
// answer (type 2) came: result is its value, or 0x7FFFFFFF without one.
struct JoinedWireClient {
    WireClient client;
    std::int32_t result = 0x7FFFFFFF;
};
JoinedWireClient JoinWireClient(Tundra::TunNet& host, std::string_view name, std::string_view password = "");
// Lists a remote player at 127.0.0.1:port on a hosting front end as a join
// would (mirror devices, the others told, kind 4), without a connection.
Tundra::TunPlayer* AddRemotePlayer(Tundra::TunNet& host, std::uint16_t port, const char* name = "Ann");

// The wire peer as a host: listens on 127.0.0.1, and on a thread accepts one
// connection, reads its type 1, then writes the replies (whole messages).
class WireHost {
public:
    WireHost();
    ~WireHost();
    WireHost(const WireHost&) = delete;
    WireHost& operator=(const WireHost&) = delete;

    std::uint16_t GetPort() const { return m_listener->GetPort(); }
    // The address a front end joins.
    Network::Tun_Address Address() const;
    // Starts the thread; an empty list answers nothing.
    void AnswerJoin(std::vector<Bytes> replies);
    // Waits for the thread: the join request it read (type 1's payload) and
    // the accepted stream, which stays open.
    std::optional<WireMessage> JoinRequestRead();
    WirePeer& Connection() { return m_connection; }
    // A datagram socket at the host's address.
    WirePeer& Datagram() { return m_datagram; }

private:
    // Made before the datagram socket, which opens it.
    std::optional<WireListener> m_listener;
    WirePeer m_datagram;
    WirePeer m_connection;
    std::optional<WireMessage> m_request;
    std::thread m_thread;
};

// Loopback, a moving clock, discovery on a free port (set through the test
// hook), a cleared listener; restored on destruction.
class FrontEndEnvironment {
public:
    FrontEndEnvironment();
    ~FrontEndEnvironment();
    FrontEndEnvironment(const FrontEndEnvironment&) = delete;
    FrontEndEnvironment& operator=(const FrontEndEnvironment&) = delete;
    std::uint16_t DiscoveryPort() const { return m_discoveryPort; }

private:
    MovingClock m_clock;
    std::uint16_t m_discoveryPort = 0;
};

// A bare front end, no game: no current level, no application devices.
class FrontEndTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    Tundra::TunNet& Net() { return *m_network; }
    std::uint16_t DiscoveryPort() const { return m_environment->DiscoveryPort(); }

    std::optional<FrontEndEnvironment> m_environment;
    std::unique_ptr<Tundra::TunNet> m_network;
};

// The framework's test game (levels "0", "1", "2", first one running) with
// its own front end: a current level and the application's devices.
class FrontEndGameTest : public tundratest::GameTest {
protected:
    void SetUp() override;
    void TearDown() override;
    Tundra::TunNet& Net() { return *m_game->GetNetworkEngine(); }
    std::uint16_t DiscoveryPort() const { return m_environment->DiscoveryPort(); }

    std::optional<FrontEndEnvironment> m_environment;
};

}  // namespace testsupport
