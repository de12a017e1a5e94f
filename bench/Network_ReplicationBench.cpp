#include "core/Core_Startup.h"
#include "core/Core_TrackedMemory.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_CreateGame.h"
#include "network/Network_LocalHostTestHooks.h"
#include "network/Network_NetworkFile.h"
#include "network/Network_TunNet.h"
#include "network/Network_TunNetTestHooks.h"
#include "os/OS_Backend.h"
#include "support/Network_WirePeer.h"
#include "support/Renderer_FakeTextureCache.h"
#include "support/TempDirectory.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Sprite.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

// The host's side of replication on 127.0.0.1, release build: Emberline
// (headless, its own levels, on its intro) hosts a session, three wire peers
// join it as clients, and 200 plain sprites are replicated in its world
// layer. Timed, medians of 600 runs each:
//   - a host update with its send tick (type 12, then one type 9 per object,
//     each to every client) and the same update without a tick (pings, the
//     announcement, draining the session's events); their difference is the
//     send tick alone;
//   - one type-13 snapshot to one client;
// and, to show where the tick's time goes, its type 9 packets alone, and
// their two halves apart: the 200 objects' network sync into a network
// file, and 201 sends to every client of payloads of type 9's size. The front end is started with no dispatch
// wait, so that no update waits for events that do not come. The clients'
// sockets are emptied between runs, outside the timing.

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kObjects = 200;
constexpr std::size_t kClients = 3;
constexpr int kRuns = 600;
constexpr float kTick = 1.0f / 60.0f;
constexpr std::uint32_t kWorldLayer = 1;
constexpr const char* kTemplateName = "BenchDot";

double Microseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Every join is the game's to admit: this host admits all.
bool AdmitEveryone(Tundra::NetMessage*) { return true; }

void Put32(testsupport::Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// A client as the host sees one: a stream that joined, and the datagram
// socket on the same port that the host's state packets reach.
struct WireClient {
    testsupport::WirePeer stream;
    testsupport::WirePeer datagrams;
    std::uint32_t id = 0;

    // Everything that arrived, without waiting.
    void Empty() {
        while (datagrams.ReceiveDatagram(milliseconds(0))) {
        }
        while (stream.ReadMessage(milliseconds(0))) {
        }
    }
};

// Connects and sends the join request (no password, player record of id 0
// at the stream's own address), updating the host until the answer comes.
bool Join(Tundra::TunNet& network, std::uint16_t hostPort, const std::string& name, WireClient& client) {
    client.stream = testsupport::WirePeer::ConnectStream(hostPort);
    if (!client.stream.IsOpen()) {
        return false;
    }
    const std::uint16_t port = client.stream.GetLocalPort();
    client.datagrams = testsupport::WirePeer::OpenDatagram(port);
    testsupport::Bytes request{0};
    Put32(request, 0);
    request.push_back(0);
    const std::uint8_t address[16] = {2, 0, static_cast<std::uint8_t>(port >> 8), static_cast<std::uint8_t>(port),
                                      127, 0, 0, 1};
    request.insert(request.end(), std::begin(address), std::end(address));
    request.insert(request.end(), name.begin(), name.end());
    request.push_back(0);
    if (!client.stream.Write(testsupport::FramedMessage(1, request))) {
        return false;
    }
    const Clock::time_point end = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < end) {
        network.Update(0.0f);
        while (const std::optional<testsupport::WireMessage> message = client.stream.ReadMessage(milliseconds(5))) {
            if (message->type == 2 && message->payload.size() == 4) {
                std::int32_t answer = 0;
                std::copy_n(message->payload.data(), 4, reinterpret_cast<std::uint8_t*>(&answer));
                client.id = static_cast<std::uint32_t>(answer);
                return answer > 0;
            }
        }
    }
    return false;
}

class ReplicationHost {
public:
    ReplicationHost() {
        setenv("ALSOFT_DRIVERS", "null", 1);
        setenv("XDG_DATA_HOME", m_folder.Path().c_str(), 1);
        setenv("HOME", m_folder.Path().c_str(), 1);
        os::SelectBackend(os::Backend::Headless);
        Network::ForceLocalHost(0x7F000001);
        CoreStartup(m_core);
        m_textures.emplace();
        m_game = MakeGame(MakeGameContent());
        if (m_game) {
            m_game->Frame();
        }
    }
    ~ReplicationHost() {
        m_clients = {};
        if (m_game) {
            m_game->Shutdown();
            m_game = nullptr;
        }
        m_textures.reset();
        CoreShutdown(m_core);
    }

    // Hosting, the clients joined, the objects replicated; the error otherwise.
    std::string SetUp() {
        Tundra::TunNet* network = m_game ? m_game->GetNetworkEngine() : nullptr;
        Tundra::Layer* layer =
            m_game && m_game->GetCurrentLevel() != nullptr ? m_game->GetCurrentLevel()->GetLayer(kWorldLayer) : nullptr;
        if (network == nullptr || layer == nullptr) {
            return "no game";
        }
        testsupport::WirePeer discovery = testsupport::WirePeer::OpenDatagram();
        const std::uint16_t discoveryPort = discovery.GetLocalPort();
        discovery.Close();
        if (!network->Start(true, &AdmitEveryone, "Bench", "", 5, 0, 60, discoveryPort, 0) ||
            !network->HostSession("Host", kClients + 1, 1, 0.25f)) {
            return "not hosting";
        }
        const std::uint16_t hostPort = network->GetLocalPlayer()->GetAddress().GetPort();
        for (std::size_t i = 0; i < kClients; ++i) {
            if (!Join(*network, hostPort, "Client" + std::to_string(i + 1), m_clients[i])) {
                return "a client did not join";
            }
        }
        if (network->GetSessionPlayersNumber() != kClients + 1) {
            return "players: " + std::to_string(network->GetSessionPlayersNumber());
        }
        const Core::RefPtr<Tundra::Sprite> dot = TUN_NEW(Tundra::Sprite);
        if (!network->AddBaseNetObject(dot.Get(), kTemplateName)) {
            return "no template";
        }
        for (std::size_t i = 0; i < kObjects; ++i) {
            Core::RefPtr<Tundra::GameObject> copy = static_cast<Tundra::GameObject*>(dot->Clone());
            copy->SetPositionXY(static_cast<float>(i % 20) * 40.0f, static_cast<float>(i / 20) * 40.0f);
            layer->AddGameObject(copy.Get(), true, network->FindPlayer(m_clients[i % kClients].id));
        }
        m_game->Frame();
        if (network->GetReplicatedObjects().size() != kObjects) {
            return "objects not replicated: " + std::to_string(network->GetReplicatedObjects().size());
        }
        EmptyClients();
        return {};
    }

    Tundra::TunNet& Network() const { return *m_game->GetNetworkEngine(); }
    Tundra::TunPlayer* FirstClient() const { return Network().FindPlayer(m_clients[0].id); }
    void EmptyClients() {
        for (WireClient& client : m_clients) {
            client.Empty();
        }
    }

private:
    std::uint8_t m_core = 0;
    testsupport::TempDirectory m_folder;
    std::optional<testsupport::FakeTextureCache> m_textures;
    Core::RefPtr<MyGame> m_game;
    std::array<WireClient, kClients> m_clients;
};

// Runs the step kRuns times (the clients emptied after each) and gives the
// median in microseconds.
template <class Step>
double MedianOf(ReplicationHost& host, Step step) {
    std::vector<double> spans;
    spans.reserve(kRuns);
    for (int run = 0; run < kRuns; ++run) {
        const Clock::time_point start = Clock::now();
        step();
        spans.push_back(Microseconds(start, Clock::now()));
        host.EmptyClients();
    }
    return Median(spans);
}

void BM_ReplicationSend(benchmark::State& state) {
    ReplicationHost host;
    const std::string error = host.SetUp();
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    Tundra::TunNet& network = host.Network();
    for (auto _ : state) {
        const double withTick = MedianOf(host, [&] { network.Update(kTick); });
        const double withoutTick = MedianOf(host, [&] { network.Update(0.0f); });
        const double states = MedianOf(host, [&] { Tundra::TunNetTestAccess::SendObjectStates(network); });
        const double snapshot = MedianOf(host, [&] { network.SendObjectSnapshot(host.FirstClient()); });
        const double sync = MedianOf(host, [&] {
            for (const Core::RefPtr<Tundra::GameObject>& object : network.GetReplicatedObjects()) {
                Tundra::NetworkFile file;
                file.WriteU32(kObjects);
                object->NetworkSyncSend(file);
                benchmark::DoNotOptimize(file.GetSize());
            }
        });
        const std::vector<std::uint8_t> body(74, 0);
        const double sends = MedianOf(host, [&] {
            for (std::size_t i = 0; i <= kObjects; ++i) {
                network.SendToGroup(9, body.data(), static_cast<std::uint32_t>(body.size()), nullptr, false);
            }
        });
        const double tick = withTick - withoutTick;
        state.SetIterationTime((withTick + snapshot) / 1e6);
        state.counters["tick_us"] = tick;
        state.counters["tick_per_object_us"] = tick / kObjects;
        state.counters["tick_per_object_client_us"] = tick / (kObjects * kClients);
        state.counters["snapshot_us"] = snapshot;
        state.counters["snapshot_per_object_us"] = snapshot / kObjects;
        std::printf("%zu objects, %zu clients, medians of %d:\n", kObjects, kClients, kRuns);
        std::printf("  update with send tick %.1f us, without %.1f us: tick %.1f us = %.3f us per object, "
                    "%.3f us per object and client\n",
                    withTick, withoutTick, tick, tick / kObjects, tick / (kObjects * kClients));
        std::printf("  snapshot (type 13) to one client %.1f us = %.3f us per object\n", snapshot,
                    snapshot / kObjects);
        std::printf("  of the tick: the type 9 packets %.1f us; apart, the network sync of every object %.1f us "
                    "and 201 sends to every client %.1f us (%.3f us per datagram)\n",
                    states, sync, sends, sends / ((kObjects + 1) * kClients));
    }
}

BENCHMARK(BM_ReplicationSend)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);

}  // namespace
