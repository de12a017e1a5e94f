#include "network/Network_LocalHostTestHooks.h"
#include "network/Network_TunNet.h"
#include "os/OS_Socket.h"
#include "os/OS_SocketAddress.h"
#include "os/OS_SocketPoll.h"
#include "support/Network_WireForms.h"
#include "support/Network_WirePeer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>

// How long a player's texts take through a host while the session is
// flooded, on 127.0.0.1, release build. A bare front end hosts with room for
// 8 players, the game's dispatch budget (5 ms, wait 3 ms), and runs 60 frames
// a second on this thread. Three wire peers join, each a stream to the game
// port and a datagram socket on that stream's own port: a reader, whose
// thread reads both sockets as things arrive and times each text, a sender
// and a flooder. For 4 s the sender sends the reader a 40-byte text (its
// sequence number and send time) by datagram every 16 ms and by stream every
// 100 ms. Meanwhile, by the argument:
//   0 nothing else;
//   1 the flooder sends 216-byte texts to "All_Players" by datagram, as fast
//     as it can;
//   2 the flooder writes the same texts on its stream as fast as it takes them;
//   3 a stranger's datagram socket that never joined sends the same
//     datagrams, naming no player.
// Counters: the stream texts' mean and longest delay (arrival at the reader
// less send time, ms) and how many arrived (of 40); the datagram texts that
// arrived (of 250) and their mean delay; how many flood texts went out.

namespace {

using Clock = std::chrono::steady_clock;
using testsupport::Bytes;
using testsupport::U32At;
using testsupport::WirePeer;
using std::chrono::milliseconds;

enum class Flood : std::int64_t { None = 0, FlooderDatagrams = 1, FlooderStream = 2, StrangerDatagrams = 3 };

constexpr std::uint32_t kRoom = 8;
constexpr std::uint32_t kDispatchBudget = 5;
constexpr std::uint32_t kDispatchWait = 3;
constexpr std::uint32_t kUpdatesPerSecond = 60;
constexpr auto kFrame = std::chrono::microseconds(1000000 / kUpdatesPerSecond);
constexpr float kFrameSeconds = 1.0f / kUpdatesPerSecond;
constexpr auto kJoinLimit = std::chrono::seconds(5);

constexpr auto kSendingTime = std::chrono::seconds(4);
constexpr auto kDatagramEvery = milliseconds(16);
constexpr auto kStreamEvery = milliseconds(100);
constexpr std::uint32_t kDatagramTexts = kSendingTime / kDatagramEvery;
constexpr std::uint32_t kStreamTexts = kSendingTime / kStreamEvery;
// What is still on its way when the sending ends is waited for this long.
constexpr auto kLateArrivals = std::chrono::seconds(1);

constexpr std::size_t kTimedTextLength = 40;
constexpr std::size_t kFloodTextLength = 216;
// Stream floods go out this many texts a write; a write the host does not
// take within the limit ends the flood.
constexpr std::size_t kFloodBatch = 32;
constexpr auto kFloodWriteLimit = milliseconds(500);
// No player has id 0.
constexpr std::uint32_t kNoPlayer = 0;
constexpr std::size_t kHeaderSize = 8;
// A text's sender and target ids, before the text.
constexpr std::size_t kTextIdsSize = 8;
constexpr std::int32_t kReadPollMilliseconds = 10;

constexpr auto Type(Tundra::TunPacket packet) { return static_cast<std::uint32_t>(packet); }

// Every join is the game's to admit: this host admits all.
bool AdmitEveryone(Tundra::NetMessage*) { return true; }

// Type 10: sender id, target id (a player or a group), the text.
Bytes TextPacket(std::uint32_t sender, std::uint32_t target, std::string_view text) {
    Bytes payload;
    testsupport::AppendU32(payload, sender);
    testsupport::AppendU32(payload, target);
    testsupport::AppendString(payload, text);
    return testsupport::FramedMessage(Type(Tundra::TunPacket::Text), payload);
}

std::int64_t Nanoseconds(Clock::time_point time) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

// The sender's text: how it went ('s' stream, 'd' datagram), its sequence
// number and its send time, padded to its length.
std::string TimedText(char channel, std::uint32_t sequence) {
    std::array<char, kTimedTextLength + 1> text{};
    std::snprintf(text.data(), text.size(), "%c %u %lld", channel, sequence,
                  static_cast<long long>(Nanoseconds(Clock::now())));
    std::string padded(text.data());
    padded.resize(kTimedTextLength, '.');
    return padded;
}

struct Delays {
    std::size_t count = 0;
    double totalMs = 0.0;
    double longestMs = 0.0;

    void Add(double ms) {
        ++count;
        totalMs += ms;
        longestMs = std::max(longestMs, ms);
    }
    double MeanMs() const { return count > 0 ? totalMs / static_cast<double>(count) : 0.0; }
};

// A joined wire peer, as a real client is: a stream to the host's game port
// and a datagram socket on the stream's own port.
struct Player {
    WirePeer stream;
    WirePeer datagrams;
    std::uint32_t id = 0;
};

// A player's reading thread: whatever reaches its stream or its datagram
// socket is read as it comes, so that nothing waits at this end, and each
// text of the watched sender is timed from the send time it carries.
class ArrivalLog {
public:
    ArrivalLog(const Player& player, std::uint32_t watchedSender)
        : m_watched(watchedSender), m_thread([this, &player](std::stop_token stop) { Read(player, stop); }) {}

    // The figures are whole once the thread ended.
    void Stop() {
        m_thread.request_stop();
        m_thread.join();
    }
    const Delays& StreamTexts() const { return m_stream; }
    const Delays& DatagramTexts() const { return m_datagram; }

private:
    void Read(const Player& player, const std::stop_token& stop) {
        std::array<os::PollEntry, 2> sockets{{{player.stream.GetHandle(), os::kPollReadable, 0},
                                              {player.datagrams.GetHandle(), os::kPollReadable, 0}}};
        os::PollEntry& stream = sockets[0];
        os::PollEntry& datagrams = sockets[1];
        Bytes pending;
        Bytes chunk(os::kMaxDatagramSize);
        while (!stop.stop_requested()) {
            if (os::PollSockets(sockets.data(), sockets.size(), nullptr, kReadPollMilliseconds, nullptr) <= 0) {
                continue;
            }
            const Clock::time_point arrival = Clock::now();
            if (stream.returned != 0) {
                const std::int64_t received = os::ReceiveStream(stream.handle, chunk.data(), chunk.size());
                if (received <= 0) {
                    // Closed: left out of the poll.
                    stream.handle = os::kInvalidSocket;
                    continue;
                }
                pending.insert(pending.end(), chunk.begin(), chunk.begin() + received);
                pending.erase(pending.begin(),
                              pending.begin() + static_cast<std::ptrdiff_t>(TakeWholeMessages(pending, arrival)));
            }
            if (datagrams.returned != 0) {
                const std::int64_t received =
                    os::ReceiveDatagram(datagrams.handle, chunk.data(), chunk.size(), nullptr);
                if (received >= static_cast<std::int64_t>(kHeaderSize)) {
                    Take(std::span(chunk.data(), static_cast<std::size_t>(received)), arrival);
                }
            }
        }
    }

    // How many bytes the whole messages at the front held.
    std::size_t TakeWholeMessages(std::span<const std::uint8_t> bytes, Clock::time_point arrival) {
        std::size_t used = 0;
        while (bytes.size() - used >= kHeaderSize) {
            const std::uint32_t length = U32At(bytes, used + 4);
            if (length < kHeaderSize || bytes.size() - used < length) {
                break;
            }
            Take(bytes.subspan(used, length), arrival);
            used += length;
        }
        return used;
    }

    void Take(std::span<const std::uint8_t> message, Clock::time_point arrival) {
        const std::span<const std::uint8_t> payload = message.subspan(kHeaderSize);
        if (U32At(message, 0) != Type(Tundra::TunPacket::Text) || payload.size() <= kTextIdsSize ||
            U32At(payload, 0) != m_watched) {
            return;
        }
        const char* first = reinterpret_cast<const char*>(payload.data()) + kTextIdsSize;
        const std::string text(first, strnlen(first, payload.size() - kTextIdsSize));
        char channel = 0;
        unsigned sequence = 0;
        long long sent = 0;
        if (std::sscanf(text.c_str(), "%c %u %lld", &channel, &sequence, &sent) != 3) {
            return;
        }
        const double delayMs = static_cast<double>(Nanoseconds(arrival) - sent) / 1e6;
        (channel == 's' ? m_stream : m_datagram).Add(delayMs);
    }

    const std::uint32_t m_watched;
    Delays m_stream;
    Delays m_datagram;
    // Last: it starts once the rest is built.
    std::jthread m_thread;
};

// A bare front end hosting on 127.0.0.1 as the game does, frames paced on
// this thread; shut down on destruction.
class FloodHost {
public:
    FloodHost() {
        Network::ForceLocalHost(os::kLoopbackIPv4);
        m_network = std::make_unique<Tundra::TunNet>();
        const std::uint16_t discoveryPort = WirePeer::OpenDatagram().GetLocalPort();
        m_hosting = m_network->Start(true, &AdmitEveryone, "Flood", "", kDispatchBudget, kDispatchWait,
                                     kUpdatesPerSecond, discoveryPort, 0) &&
                    m_network->HostSession("Host", kRoom, 1, 0.25f);
    }
    ~FloodHost() {
        m_network->Shutdown();
        m_network.reset();
        Network::ClearForcedLocalHost();
    }
    FloodHost(const FloodHost&) = delete;
    FloodHost& operator=(const FloodHost&) = delete;

    bool IsHosting() const { return m_hosting; }
    std::uint16_t Port() const { return m_network->GetLocalPlayer()->GetAddress().GetPort(); }
    std::uint32_t AllPlayersId() const { return m_network->GetAllPlayersGroup()->GetID(); }

    // Frames at 60 a second until done holds or the span passed; a frame
    // that overran starts the next at once. Done's last answer.
    bool RunFrames(Clock::duration span, const std::function<bool()>& done = [] { return false; }) {
        const Clock::time_point end = Clock::now() + span;
        Clock::time_point next = Clock::now();
        while (!done()) {
            if (Clock::now() >= end) {
                return false;
            }
            m_network->Update(kFrameSeconds);
            next = std::max(next + kFrame, Clock::now());
            std::this_thread::sleep_until(next);
        }
        return true;
    }

    // Connects, asks to join and runs frames until the answer came.
    std::optional<Player> Join(std::string_view name) {
        Player player;
        player.stream = WirePeer::ConnectStream(Port());
        const std::uint16_t port = player.stream.GetLocalPort();
        player.datagrams = WirePeer::OpenDatagram(port);
        const Bytes request = testsupport::FramedMessage(Type(Tundra::TunPacket::JoinRequest),
                                                         testsupport::JoinRequest("", port, name));
        if (!player.datagrams.IsOpen() || !player.stream.Write(request)) {
            return std::nullopt;
        }
        std::int64_t answer = 0;
        RunFrames(kJoinLimit, [&] {
            const std::optional<testsupport::WireMessage> message = player.stream.ReadMessage(milliseconds(0));
            if (message && message->type == Type(Tundra::TunPacket::JoinResult) && message->payload.size() == 4) {
                answer = static_cast<std::int32_t>(U32At(message->payload, 0));
                return true;
            }
            return false;
        });
        if (answer <= 0) {
            return std::nullopt;
        }
        player.id = static_cast<std::uint32_t>(answer);
        return player;
    }

private:
    std::unique_ptr<Tundra::TunNet> m_network;
    bool m_hosting = false;
};

// The sender's schedule from start: a datagram text every 16 ms and a
// stream text every 100 ms, both to the reader.
void SendTimedTexts(Player& sender, std::uint16_t hostPort, std::uint32_t readerId, Clock::time_point start) {
    std::uint32_t datagrams = 0;
    std::uint32_t streamTexts = 0;
    while (datagrams < kDatagramTexts) {
        const Clock::time_point datagramDue = start + datagrams * kDatagramEvery;
        const Clock::time_point streamDue = start + streamTexts * kStreamEvery;
        if (streamTexts < kStreamTexts && streamDue <= datagramDue) {
            std::this_thread::sleep_until(streamDue);
            sender.stream.Write(TextPacket(sender.id, readerId, TimedText('s', streamTexts++)));
        } else {
            std::this_thread::sleep_until(datagramDue);
            sender.datagrams.SendDatagram(hostPort, TextPacket(sender.id, readerId, TimedText('d', datagrams++)));
        }
    }
}

std::size_t FloodDatagrams(WirePeer& socket, std::uint16_t hostPort, const Bytes& packet, Clock::time_point end) {
    std::size_t sent = 0;
    while (Clock::now() < end) {
        sent += socket.SendDatagram(hostPort, packet) ? 1 : 0;
    }
    return sent;
}

std::size_t FloodStream(WirePeer& stream, const Bytes& packet, Clock::time_point end) {
    Bytes batch;
    for (std::size_t i = 0; i < kFloodBatch; ++i) {
        batch.insert(batch.end(), packet.begin(), packet.end());
    }
    std::size_t sent = 0;
    while (Clock::now() < end && stream.Write(batch, kFloodWriteLimit)) {
        sent += kFloodBatch;
    }
    return sent;
}

// The variant's flood until end; how many texts went out.
std::size_t RunFlood(Flood flood, Player& flooder, std::uint16_t hostPort, std::uint32_t allPlayers,
                     Clock::time_point end) {
    const std::string text(kFloodTextLength, 'f');
    switch (flood) {
    case Flood::FlooderDatagrams:
        return FloodDatagrams(flooder.datagrams, hostPort, TextPacket(flooder.id, allPlayers, text), end);
    case Flood::FlooderStream:
        return FloodStream(flooder.stream, TextPacket(flooder.id, allPlayers, text), end);
    case Flood::StrangerDatagrams: {
        WirePeer stranger = WirePeer::OpenDatagram();
        return FloodDatagrams(stranger, hostPort, TextPacket(kNoPlayer, allPlayers, text), end);
    }
    case Flood::None:
        break;
    }
    return 0;
}

// One run of the variant, its figures as counters; the error otherwise.
std::string MeasureTextDelays(benchmark::State& state, Flood flood) {
    FloodHost host;
    if (!host.IsHosting()) {
        return "not hosting";
    }
    std::optional<Player> reader = host.Join("Reader");
    std::optional<Player> sender = host.Join("Sender");
    std::optional<Player> flooder = host.Join("Flooder");
    if (!reader || !sender || !flooder) {
        return "a player did not join";
    }
    const std::uint16_t hostPort = host.Port();
    const std::uint32_t allPlayers = host.AllPlayersId();
    ArrivalLog arrivals(*reader, sender->id);
    // The others read as clients do; what they hear is not timed.
    ArrivalLog senderReads(*sender, kNoPlayer);
    ArrivalLog flooderReads(*flooder, kNoPlayer);
    const Clock::time_point start = Clock::now();
    std::size_t floodTexts = 0;
    {
        const std::jthread sending([&] { SendTimedTexts(*sender, hostPort, reader->id, start); });
        const std::jthread flooding(
            [&] { floodTexts = RunFlood(flood, *flooder, hostPort, allPlayers, start + kSendingTime); });
        host.RunFrames(kSendingTime + kLateArrivals);
    }
    arrivals.Stop();
    senderReads.Stop();
    flooderReads.Stop();

    const Delays& streamTexts = arrivals.StreamTexts();
    const Delays& datagramTexts = arrivals.DatagramTexts();
    state.counters["stream_mean_ms"] = streamTexts.MeanMs();
    state.counters["stream_max_ms"] = streamTexts.longestMs;
    state.counters["stream_texts"] = static_cast<double>(streamTexts.count);
    state.counters["datagram_texts"] = static_cast<double>(datagramTexts.count);
    state.counters["datagram_mean_ms"] = datagramTexts.MeanMs();
    state.counters["flood_texts"] = static_cast<double>(floodTexts);
    return {};
}

void BM_TextDelayUnderFlood(benchmark::State& state) {
    const auto flood = static_cast<Flood>(state.range(0));
    constexpr std::array<const char*, 4> kLabels{"no flood", "flooder by datagram", "flooder by stream",
                                                 "stranger by datagram"};
    state.SetLabel(kLabels[static_cast<std::size_t>(flood)]);
    for (auto _ : state) {
        const std::string error = MeasureTextDelays(state, flood);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

// The host's frames, the players and the flood run on their own clocks:
// time on the wall.
BENCHMARK(BM_TextDelayUnderFlood)
    ->DenseRange(0, 3)
    ->ArgName("flood")
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace
