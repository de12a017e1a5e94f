#include "core/Core_Clock.h"
#include "core/Core_Startup.h"
#include "core/Core_TrackedMemory.h"
#include "network/Network_Address.h"
#include "network/Network_LocalHostTestHooks.h"
#include "network/Network_TunNet.h"
#include "network/Network_TunNetTestHooks.h"
#include "os/OS_Backend.h"
#include "os/OS_SocketAddress.h"
#include "support/Network_WirePeer.h"
#include "support/TempDirectory.h"
#include "support/Tundra_TestGame.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <benchmark/benchmark.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// How often a client handles the host's state of each replicated object
// (type 9), on 127.0.0.1, release build. Host and client run in processes of
// their own, as only one front end runs in a process. The tests' game hosts a
// session with the game's network settings (60 sends a second, dispatch
// budget 5 ms and wait 3 ms, announcements every 0.25 s; the discovery port a
// free one instead of 3000) and N replicated objects in its first layer,
// each moved a step every frame, so that every send tick carries a new state
// of each. A second tests' game joins it and runs frames 16 ms apart; each of
// its replicas notes when it handles a state. Once the client holds all N
// replicas a second passes, then for 5 s the states each replica handles are
// counted. Counters: the fewest, median and most states a replica handled a
// second; how many replicas handled under half of the median, and under half
// of the most (once more than half of them lag, the median is a lagging
// one's); the longest lag, the longest gap (ms) between two states of one
// replica (the window's edges count as states, so a replica that heard
// nothing lags 5 s). With flood 1, a stranger's datagram socket on 127.0.0.1, never a member, sends
// 256-byte datagrams to the client's game port as fast as it can for those
// 5 s; flood_datagrams counts them.

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kHostFrame = std::chrono::microseconds(16667);
constexpr auto kClientFrame = std::chrono::milliseconds(16);
constexpr auto kSettling = std::chrono::seconds(1);
constexpr auto kCounting = std::chrono::seconds(5);
// Hosting, joining and the snapshot of 2,000 objects take well under this.
constexpr auto kSetUpLimit = std::chrono::seconds(30);
// A host whose benchmark went away ends by itself.
constexpr auto kHostLimit = std::chrono::seconds(120);
constexpr std::uint32_t kSessionPlayers = 2;
constexpr const char* kTemplateName = "CountedDot";
constexpr const char* kNetworkName = "ReplicaBench";
constexpr std::size_t kStrangerDatagramSize = 256;
// Type and length before every message's payload.
constexpr std::size_t kMessageHeaderSize = 8;

// A replicated object that moves a step every frame on the host, so that
// each send tick carries a new state, and on a client notes when it handles
// each state.
class CountedDot : public Tundra::GameObject {
    TUN_DECLARE_CLASS(CountedDot);

public:
    void Update(float) override {
        if (!IsNetworkReplica()) {
            SetPositionXY(GetPositionX() + 1.0f, GetPositionY());
        }
    }
    void NetworkSyncReceive(Core::File& file) override {
        GameObject::NetworkSyncReceive(file);
        arrivals.push_back(Clock::now());
    }

    std::vector<Clock::time_point> arrivals;
};

TUN_DEFINE_CLASS(CountedDot)

// The headless backend's clock stands still: both games run on the real one.
double SteadyMilliseconds() {
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// One end of the session: the tests' game on one level of one layer,
// headless, its local address 127.0.0.1 and the benchmark's discovery port.
class SessionEnd {
public:
    explicit SessionEnd(std::uint16_t discoveryPort) {
        setenv("ALSOFT_DRIVERS", "null", 1);
        setenv("XDG_DATA_HOME", m_folder.Path().c_str(), 1);
        setenv("HOME", m_folder.Path().c_str(), 1);
        os::SelectBackend(os::Backend::Headless);
        CoreStartup(m_core);
        Core::SetClockFunction(&SteadyMilliseconds);
        Network::ForceLocalHost(os::kLoopbackIPv4);
        Tundra::TunNetTestAccess::SetDiscoveryPortOverride(discoveryPort);
        m_factory->count = 1;
        m_factory->layers = 1;
        m_game = TUN_NEW(tundratest::TestGame, m_factory.Get(), 0);
        m_game->Frame();
    }
    ~SessionEnd() {
        m_game->Shutdown();
        m_game = nullptr;
        m_factory = nullptr;
        Network::ClearForcedLocalHost();
        CoreShutdown(m_core);
    }
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

    bool HasLevel() const { return m_game->GetCurrentLevel() != nullptr; }
    // Every session starts without templates: once networking runs.
    bool AddDotTemplate() { return Network().AddBaseNetObject(TUN_NEW(CountedDot), kTemplateName); }
    tundratest::TestGame& Game() { return *m_game; }
    Tundra::TunNet& Network() { return *m_game->GetNetworkEngine(); }
    Tundra::Layer& FirstLayer() { return *m_game->GetCurrentLevel()->GetLayer(0); }

    // Frames a period apart until done holds or the span passed; a late
    // frame does not make the next ones hurry. Done's last answer.
    bool RunFrames(Clock::duration period, Clock::duration span,
                   const std::function<bool()>& done = [] { return false; }) {
        const Clock::time_point end = Clock::now() + span;
        Clock::time_point next = Clock::now();
        while (!done()) {
            if (Clock::now() >= end) {
                return false;
            }
            m_game->Frame();
            next = std::max(next + period, Clock::now());
            std::this_thread::sleep_until(next);
        }
        return true;
    }

private:
    testsupport::TempDirectory m_folder;
    std::uint8_t m_core = 0;
    Core::RefPtr<tundratest::TestFactory> m_factory = TUN_NEW(tundratest::TestFactory);
    Core::RefPtr<tundratest::TestGame> m_game;
};

struct Figures {
    double fewest = 0.0;
    double median = 0.0;
    double most = 0.0;
    double underHalf = 0.0;
    double underHalfOfMost = 0.0;
    double longestLagMs = 0.0;
    double floodDatagrams = 0.0;
};

// A pipe between the benchmark and one of its processes; each side closes
// the end it does not use.
class Pipe {
public:
    Pipe() {
        if (pipe(m_ends.data()) != 0) {
            m_ends = {-1, -1};
        }
    }
    ~Pipe() {
        CloseReadEnd();
        CloseWriteEnd();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool IsOpen() const { return m_ends[0] >= 0; }
    void CloseReadEnd() { Close(m_ends[0]); }
    void CloseWriteEnd() { Close(m_ends[1]); }

    bool Write(const void* bytes, std::size_t size) const {
        return write(m_ends[1], bytes, size) == static_cast<ssize_t>(size);
    }
    // All the bytes, unless the writer closed its end or the limit passed.
    bool Read(void* bytes, std::size_t size, Clock::duration limit) const {
        const Clock::time_point end = Clock::now() + limit;
        auto* into = static_cast<std::uint8_t*>(bytes);
        std::size_t got = 0;
        while (got < size && Clock::now() < end) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            if (!IsReadable(std::max(left, std::chrono::milliseconds(0)))) {
                continue;
            }
            const ssize_t read = ::read(m_ends[0], into + got, size - got);
            if (read <= 0) {
                return false;
            }
            got += static_cast<std::size_t>(read);
        }
        return got == size;
    }
    // Readable or closed at the other end.
    bool IsReadable(std::chrono::milliseconds wait) const {
        pollfd entry{m_ends[0], POLLIN, 0};
        return poll(&entry, 1, static_cast<int>(wait.count())) > 0;
    }

private:
    static void Close(int& end) {
        if (end >= 0) {
            close(end);
            end = -1;
        }
    }

    std::array<int, 2> m_ends{};
};

// The host's process: hosts, replicates the objects, tells its game port
// and runs frames until the benchmark closes the stop pipe.
int RunHost(std::uint16_t discoveryPort, std::size_t objects, const Pipe& port, const Pipe& stop) {
    SessionEnd host(discoveryPort);
    if (!host.HasLevel() || !host.Game().NetworkStart(kNetworkName) ||
        !host.Game().HostNetworkGame("Room", "Host", "", kSessionPlayers) || !host.AddDotTemplate()) {
        return 1;
    }
    for (std::size_t i = 0; i < objects; ++i) {
        if (Tundra::GameObject* dot = host.FirstLayer().AddNetworkGameObject(kTemplateName, nullptr)) {
            dot->SetPositionXY(0.0f, static_cast<float>(i));
        }
    }
    const std::uint16_t gamePort = host.Network().GetLocalPlayer()->GetAddress().GetPort();
    if (host.Network().GetReplicatedObjects().size() != objects || !port.Write(&gamePort, sizeof(gamePort))) {
        return 1;
    }
    host.RunFrames(kHostFrame, kHostLimit, [&] { return stop.IsReadable(std::chrono::milliseconds(0)); });
    return 0;
}

// A stranger's datagrams to the port until the end; how many went out.
std::size_t FloodAsStranger(std::uint16_t port, Clock::time_point end) {
    testsupport::WirePeer stranger = testsupport::WirePeer::OpenDatagram();
    const testsupport::Bytes datagram =
        testsupport::FramedMessage(static_cast<std::uint32_t>(Tundra::TunPacket::ObjectState),
                                   testsupport::Bytes(kStrangerDatagramSize - kMessageHeaderSize, 0));
    std::size_t sent = 0;
    while (Clock::now() < end) {
        sent += stranger.SendDatagram(port, datagram) ? 1 : 0;
    }
    return sent;
}

// The client's replicas in the host's list order, which is the order of
// their object numbers.
std::vector<Core::RefPtr<CountedDot>> ReplicasInHostOrder(const Tundra::TunNet& network) {
    std::vector<Core::RefPtr<CountedDot>> replicas;
    for (const Core::RefPtr<Tundra::GameObject>& object : network.GetReplicatedObjects()) {
        if (auto* dot = dynamic_cast<CountedDot*>(object.Get())) {
            replicas.emplace_back(dot);
        }
    }
    std::sort(replicas.begin(), replicas.end(), [](const auto& a, const auto& b) {
        return a->GetNetworkId()->GetObjectNumber() < b->GetNetworkId()->GetObjectNumber();
    });
    return replicas;
}

Figures Summarise(const std::vector<Core::RefPtr<CountedDot>>& replicas, Clock::time_point from,
                  Clock::time_point to) {
    const double seconds = std::chrono::duration<double>(to - from).count();
    std::vector<double> rates;
    Clock::duration longestLag{};
    for (const Core::RefPtr<CountedDot>& replica : replicas) {
        rates.push_back(static_cast<double>(replica->arrivals.size()) / seconds);
        Clock::time_point previous = from;
        for (const Clock::time_point arrival : replica->arrivals) {
            longestLag = std::max(longestLag, arrival - previous);
            previous = arrival;
        }
        longestLag = std::max(longestLag, to - previous);
    }
    std::sort(rates.begin(), rates.end());
    Figures figures;
    figures.fewest = rates.front();
    figures.median = rates[rates.size() / 2];
    figures.most = rates.back();
    const auto under = [&rates](double rate) {
        return static_cast<double>(std::count_if(rates.begin(), rates.end(), [&](double r) { return r < rate / 2; }));
    };
    figures.underHalf = under(figures.median);
    figures.underHalfOfMost = under(figures.most);
    figures.longestLagMs = std::chrono::duration<double, std::milli>(longestLag).count();
    return figures;
}

// The client's process: joins, waits for every replica, lets a second pass
// and counts the states of the next five, under the stranger's flood if
// asked; the figures go back through the result pipe.
int RunClient(std::uint16_t discoveryPort, std::uint16_t hostPort, std::size_t objects, bool flood,
              const Pipe& result) {
    SessionEnd client(discoveryPort);
    Tundra::TunNet& network = client.Network();
    if (!client.HasLevel() || !client.Game().NetworkStart(kNetworkName) || !client.AddDotTemplate() ||
        !network.JoinSession("Guest", Network::Tun_Address("127.0.0.1", hostPort), "")) {
        return 1;
    }
    const bool synchronised = client.RunFrames(kClientFrame, kSetUpLimit, [&] {
        return network.GetLocalPlayer() != nullptr && network.GetLocalPlayer()->IsSynchronised() &&
               network.GetReplicatedObjects().size() == objects;
    });
    if (!synchronised) {
        return 1;
    }
    client.RunFrames(kClientFrame, kSettling);
    const std::vector<Core::RefPtr<CountedDot>> replicas = ReplicasInHostOrder(network);
    if (replicas.size() != objects) {
        return 1;
    }
    for (const Core::RefPtr<CountedDot>& replica : replicas) {
        replica->arrivals.clear();
    }
    const std::uint16_t gamePort = network.GetLocalPlayer()->GetAddress().GetPort();
    const Clock::time_point from = Clock::now();
    std::size_t floodDatagrams = 0;
    {
        const std::jthread stranger([&] {
            if (flood) {
                floodDatagrams = FloodAsStranger(gamePort, from + kCounting);
            }
        });
        client.RunFrames(kClientFrame, kCounting);
    }
    Figures figures = Summarise(replicas, from, Clock::now());
    figures.floodDatagrams = static_cast<double>(floodDatagrams);
    return result.Write(&figures, sizeof(figures)) ? 0 : 1;
}

// Runs a side in a process of its own; its exit skips the benchmark's own
// clean-up. Output still buffered is written before, once.
template <class Side>
pid_t Spawn(Side side) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(side());
    }
    return pid;
}

// Waits for a side's process, ended first when it did not finish its part.
void EndProcess(pid_t pid, bool stop) {
    if (pid <= 0) {
        return;
    }
    if (stop) {
        kill(pid, SIGTERM);
    }
    waitpid(pid, nullptr, 0);
}

// One run of host and client; the figures, or the error.
std::string Measure(std::size_t objects, bool flood, Figures& figures) {
    // A port free now, for both ends' discovery sockets.
    const std::uint16_t discoveryPort = testsupport::WirePeer::OpenDatagram().GetLocalPort();
    Pipe port;
    Pipe stop;
    Pipe result;
    if (!port.IsOpen() || !stop.IsOpen() || !result.IsOpen()) {
        return "no pipes";
    }
    const pid_t host = Spawn([&] {
        port.CloseReadEnd();
        stop.CloseWriteEnd();
        // Only the client writes results, so that its end ends the read.
        result.CloseReadEnd();
        result.CloseWriteEnd();
        return RunHost(discoveryPort, objects, port, stop);
    });
    port.CloseWriteEnd();
    stop.CloseReadEnd();
    std::uint16_t hostPort = 0;
    if (host < 0 || !port.Read(&hostPort, sizeof(hostPort), kSetUpLimit)) {
        EndProcess(host, true);
        return "not hosting";
    }
    const pid_t client = Spawn([&] {
        stop.CloseWriteEnd();
        result.CloseReadEnd();
        return RunClient(discoveryPort, hostPort, objects, flood, result);
    });
    result.CloseWriteEnd();
    const bool measured = client > 0 && result.Read(&figures, sizeof(figures), kSetUpLimit + kSettling + kCounting);
    EndProcess(client, !measured);
    stop.CloseWriteEnd();
    EndProcess(host, false);
    return measured ? std::string() : "the client did not take every replica";
}

void BM_ReplicaUpdates(benchmark::State& state) {
    const auto objects = static_cast<std::size_t>(state.range(0));
    const bool flood = state.range(1) != 0;
    state.SetLabel(flood ? "stranger floods the client" : "no flood");
    for (auto _ : state) {
        Figures figures;
        const std::string error = Measure(objects, flood, figures);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
        state.counters["fewest_per_s"] = figures.fewest;
        state.counters["median_per_s"] = figures.median;
        state.counters["most_per_s"] = figures.most;
        state.counters["under_half"] = figures.underHalf;
        state.counters["under_half_of_most"] = figures.underHalfOfMost;
        state.counters["longest_lag_ms"] = figures.longestLagMs;
        state.counters["flood_datagrams"] = figures.floodDatagrams;
    }
}

// Two processes on their own clocks: time on the wall.
BENCHMARK(BM_ReplicaUpdates)
    ->ArgsProduct({{600, 1000, 2000}, {0, 1}})
    ->ArgNames({"objects", "flood"})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace
