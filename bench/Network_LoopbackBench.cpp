#include "network/Network_LocalHostTestHooks.h"
#include "network/Network_Session.h"
#include "os/OS_Socket.h"
#include "os/OS_SocketAddress.h"
#include "support/Network_WirePeer.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <string>
#include <thread>

// The network engine on 127.0.0.1: messages per second of 64-byte payloads
// that reach a socket the I/O thread serves and come out of ProcessEvents on
// this thread (datagrams, direct stream sends, queued stream sends), each
// beside the same traffic through bare sockets; and what an idle host and
// client cost, as a share of one core, without and with the broadcast.

namespace {

using Kind = Network::Tun_Event_Kind;
using testsupport::Bytes;

constexpr std::size_t kPayloadSize = 64;
constexpr std::size_t kBurst = 32;
constexpr auto kDrainLimit = std::chrono::seconds(1);
constexpr auto kIdleTime = std::chrono::seconds(5);
constexpr std::int32_t kServer = 2;
constexpr std::int32_t kConnection = 3;
constexpr std::int32_t kHostDatagrams = 4;
constexpr std::int32_t kClientDatagrams = 5;
constexpr auto kStream = static_cast<std::int32_t>(os::SocketType::Stream);
constexpr auto kDatagram = static_cast<std::int32_t>(os::SocketType::Datagram);

std::size_t g_messages = 0;
std::size_t g_connects = 0;

bool CountEvents(Network::Tun_Event* event) {
    g_messages += event->kind == Kind::MessageReceived ? 1 : 0;
    g_connects += event->kind == Kind::ConnectionAccepted || event->kind == Kind::ConnectCompleted ? 1 : 0;
    return true;
}

Network::Tun_Address Loopback(std::uint16_t port = 0) { return Network::Tun_Address("127.0.0.1", port); }

// A session on loopback in dispatch mode 0, drained on this thread.
class BenchSession {
public:
    BenchSession() {
        Network::ForceLocalHost(os::kLoopbackIPv4);
        m_session.Open("bench", "", 0, &CountEvents, 0, 0, 0, 0, 1);
    }
    ~BenchSession() { m_session.Close(); }
    Network::Tun_Session* operator->() { return &m_session; }

    std::uint16_t Port(std::int32_t id) {
        Network::Tun_Address address;
        return m_session.GetLocalAddress(id, address) ? address.GetPort() : 0;
    }
    void DrainQueued() {
        std::uint32_t processed = 0;
        std::uint32_t remaining = 0;
        m_session.ProcessEvents(5, 0, &processed, &remaining);
    }
    // Delivers events until the count reaches target or a second passes.
    void DrainUntil(const std::size_t& count, std::size_t target) {
        const auto end = std::chrono::steady_clock::now() + kDrainLimit;
        while (count < target && std::chrono::steady_clock::now() < end) {
            DrainQueued();
        }
    }

private:
    Network::Tun_Session m_session;
};

const Bytes& Message() {
    static const Bytes message = testsupport::FramedMessage(1, std::string(kPayloadSize, 'x'));
    return message;
}

void Report(benchmark::State& state, std::size_t sent, std::size_t arrived) {
    state.SetItemsProcessed(static_cast<std::int64_t>(arrived));
    state.counters["lost"] = static_cast<double>(sent - arrived);
}

void SessionDatagrams(benchmark::State& state) {
    BenchSession host;
    host->OpenSocket(kHostDatagrams, kDatagram, Loopback(), Network::kServiceByIoThread,
                     os::kSocketOptionNonBlocking);
    const std::uint16_t port = host.Port(kHostDatagrams);
    testsupport::WirePeer sender = testsupport::WirePeer::OpenDatagram();
    g_messages = 0;
    std::size_t sent = 0;
    for (auto _ : state) {
        for (std::size_t index = 0; index < kBurst; ++index) {
            sent += sender.SendDatagram(port, Message()) ? 1 : 0;
        }
        host.DrainUntil(g_messages, sent);
    }
    Report(state, sent, g_messages);
}

void BareDatagrams(benchmark::State& state) {
    testsupport::WirePeer receiver = testsupport::WirePeer::OpenDatagram();
    testsupport::WirePeer sender = testsupport::WirePeer::OpenDatagram();
    std::size_t sent = 0;
    std::size_t arrived = 0;
    for (auto _ : state) {
        for (std::size_t index = 0; index < kBurst; ++index) {
            sent += sender.SendDatagram(receiver.GetLocalPort(), Message()) ? 1 : 0;
        }
        while (arrived < sent && receiver.ReceiveDatagram(kDrainLimit)) {
            ++arrived;
        }
    }
    Report(state, sent, arrived);
}

// A client's connection (socket 3) to a host's server, with the service
// flags given; the host's accepted end is served by its I/O thread.
void SessionStream(benchmark::State& state, std::uint32_t clientService) {
    BenchSession host;
    BenchSession client;
    host->StartServer(Loopback(), 4);
    client->OpenSocket(kConnection, kStream, Network::Tun_Address(), 0, 0);
    g_connects = 0;
    const Network::Tun_Address server = Loopback(host.Port(kServer));
    if (!client->Connect(kConnection, server)) {
        state.SkipWithError("no connection");
        return;
    }
    host.DrainUntil(g_connects, 1);
    client->SetServiceFlags(kConnection, clientService);
    g_messages = 0;
    std::size_t sent = 0;
    for (auto _ : state) {
        for (std::size_t index = 0; index < kBurst; ++index) {
            sent += client->SendMessage(kConnection, 1, Message().data() + 8, kPayloadSize, server) ? 1 : 0;
        }
        host.DrainUntil(g_messages, sent);
        // Queued sends report their completion to the client.
        client.DrainQueued();
    }
    Report(state, sent, g_messages);
}

void SessionDirectStream(benchmark::State& state) { SessionStream(state, 0); }
void SessionQueuedStream(benchmark::State& state) { SessionStream(state, Network::kServiceQueuedSend); }

void BareStream(benchmark::State& state) {
    testsupport::WirePair pair = testsupport::ConnectedPair();
    std::size_t arrived = 0;
    for (auto _ : state) {
        for (std::size_t index = 0; index < kBurst; ++index) {
            pair.near.Write(Message());
        }
        arrived += pair.far.Read(kBurst * Message().size()).size() / Message().size();
    }
    Report(state, arrived, arrived);
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A host (server 2 with one accepted connection, datagrams 4) and a client
// (discovery 1, connection 3, datagrams 5) left alone for 5 s.
void IdleSessions(benchmark::State& state) {
    const bool broadcast = state.range(0) != 0;
    for (auto _ : state) {
        BenchSession host;
        BenchSession client;
        host->StartServer(Loopback(), 4);
        host->OpenSocket(kHostDatagrams, kDatagram, Loopback(), Network::kServiceByIoThread,
                         os::kSocketOptionNonBlocking);
        client->OpenUdpSocket(0);
        client->OpenSocket(kClientDatagrams, kDatagram, Loopback(), Network::kServiceByIoThread,
                           os::kSocketOptionNonBlocking);
        client->OpenSocket(kConnection, kStream, Network::Tun_Address(), Network::kServiceByIoThread,
                           os::kSocketOptionNonBlocking);
        g_connects = 0;
        client->Connect(kConnection, Loopback(host.Port(kServer)));
        client.DrainUntil(g_connects, 1);
        host.DrainUntil(g_connects, 2);
        if (broadcast) {
            const std::string announcement(40, 'a');
            host->StartBroadcast(client.Port(1), 3, 250, 0, announcement.data(),
                                 static_cast<std::uint32_t>(announcement.size()), 0);
        }
        const double cpuBefore = ProcessCpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(kIdleTime);
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
        state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / wall.count();
        state.counters["connected"] = static_cast<double>(g_connects);
    }
}

}  // namespace

// The work happens on other threads too: rates by the clock on the wall.
BENCHMARK(SessionDatagrams)->UseRealTime();
BENCHMARK(BareDatagrams)->UseRealTime();
BENCHMARK(SessionDirectStream)->UseRealTime();
BENCHMARK(SessionQueuedStream)->UseRealTime();
BENCHMARK(BareStream)->UseRealTime();
BENCHMARK(IdleSessions)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);
