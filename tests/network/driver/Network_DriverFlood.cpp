#include "Network_DriverFlood.h"

#include "network/Network_HostileCases.h"
#include "support/Network_WirePeer.h"

#include <random>
#include <string>
#include <thread>
#include <vector>

namespace netdriver {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kDatagramSources = 4;
constexpr std::size_t kDatagramsPerRound = 16;
constexpr std::size_t kMessagesPerConnection = 24;
constexpr std::size_t kOversizedText = 60000;
constexpr std::size_t kOversizedData = 1u << 19;

struct Message {
    std::uint32_t type;
    Bytes payload;
};

void Put32(Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutText(Bytes& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
}

// A player record: id, host flag, an IPv4 socket address of 127.0.0.1:port,
// then the name.
void PutRecord(Bytes& bytes, std::uint32_t id, std::uint16_t port, const std::string& name) {
    Put32(bytes, id);
    bytes.push_back(0);
    const std::uint8_t address[16] = {2, 0, static_cast<std::uint8_t>(port >> 8), static_cast<std::uint8_t>(port),
                                      127, 0, 0, 1};
    bytes.insert(bytes.end(), std::begin(address), std::end(address));
    PutText(bytes, name);
}

// What honest peers send, with a spoofed sender: every packet type a host
// handles and those it should never take from a client.
std::vector<Message> SpoofedPackets(const FloodTarget& target) {
    const std::uint32_t sender = target.clientId;
    std::vector<Message> packets;
    const auto add = [&](std::uint32_t type, const std::function<void(Bytes&)>& fill) {
        Bytes payload;
        fill(payload);
        packets.push_back({type, std::move(payload)});
    };
    add(0, [&](Bytes& b) {
        const std::uint8_t address[16] = {2, 0, 0x0B, 0xB8, 127, 0, 0, 1};
        b.insert(b.end(), std::begin(address), std::end(address));
        Put32(b, 4);
        Put32(b, 1);
        b.push_back(0);
        Put32(b, 5);
        PutText(b, "Fake");
        PutText(b, "X");
    });
    add(2, [&](Bytes& b) { Put32(b, 7); });
    add(3, [&](Bytes& b) { PutRecord(b, 99, 1, "Ghost"); });
    add(4, [&](Bytes& b) { PutRecord(b, target.hostId, target.port, "Host"); });
    add(4, [&](Bytes& b) { PutRecord(b, sender, target.port, "Guest"); });
    add(5, [&](Bytes& b) {
        Put32(b, sender);
        Put32(b, 77);
        PutText(b, "spoofed");
        Put32(b, sender);
        Put32(b, target.hostId);
    });
    add(6, [&](Bytes& b) {
        Put32(b, sender);
        Put32(b, 1);
    });
    add(6, [&](Bytes& b) {
        Put32(b, target.hostId);
        Put32(b, 1);
    });
    add(7, [&](Bytes& b) {
        Put32(b, 1);
        Put32(b, 9);
        PutText(b, "DriverDot");
    });
    add(8, [&](Bytes& b) {
        Put32(b, 999);
        Put32(b, 999);
    });
    add(9, [&](Bytes& b) {
        Put32(b, 1);
        Put32(b, sender);
        Put32(b, 1);
    });
    add(10, [&](Bytes& b) {
        Put32(b, sender);
        Put32(b, 1);
        PutText(b, "spoofed text");
    });
    add(10, [&](Bytes& b) {
        Put32(b, target.hostId);
        Put32(b, sender);
        PutText(b, std::string(kOversizedText, 'x'));
    });
    add(11, [&](Bytes& b) {
        Put32(b, sender);
        Put32(b, 1);
        Put32(b, 5);
        Put32(b, 0xFFFFFFF0u);
        Put32(b, 0);
    });
    add(11, [&](Bytes& b) {
        Put32(b, sender);
        Put32(b, 1);
        Put32(b, 5);
        Put32(b, 0);
    });
    add(12, [&](Bytes& b) { PutText(b, "GameLevel"); });
    add(13, [&](Bytes& b) { Put32(b, 0x10000000); });
    add(14, [&](Bytes& b) {
        Put32(b, sender);
        for (const std::uint32_t key : {81u, 300u, 0xFFFFFFFFu}) {
            Put32(b, 0x01010101);
            Put32(b, 1);
            Put32(b, key);
        }
    });
    add(15, [&](Bytes& b) {
        Put32(b, sender);
        b.resize(b.size() + 28, 0x7F);
    });
    add(15, [&](Bytes& b) {
        Put32(b, sender);
        b.resize(b.size() + 27, 0x7F);
    });
    add(16, [&](Bytes& b) { Put32(b, sender); });
    add(16, [&](Bytes& b) { Put32(b, target.hostId); });
    add(17, [&](Bytes& b) { Put32(b, target.hostId); });
    add(18, [&](Bytes& b) { Put32(b, sender); });
    return packets;
}

// Each packet whole and cut at every length; a valid join request only where
// a host must never take one (a datagram).
std::vector<Bytes> DatagramCases(const FloodTarget& target) {
    std::vector<Bytes> cases;
    std::vector<Message> packets = SpoofedPackets(target);
    Bytes join;
    PutText(join, "");
    PutRecord(join, 0, 1, "Ghost");
    packets.push_back({1, join});
    for (const Message& packet : packets) {
        for (std::size_t length = 0; length <= packet.payload.size(); ++length) {
            if (length > 64 && length < packet.payload.size()) {
                length = packet.payload.size();
            }
            cases.push_back(testsupport::FramedMessage(
                packet.type, std::span(packet.payload.data(), length)));
        }
    }
    for (const hostile::Case& framing : hostile::MakeTypeCases(28)) {
        cases.push_back(framing.bytes);
    }
    return cases;
}

// On a stranger's connection: the same packets, join requests cut short of
// their record's end, and the framing cases; an oversized data message.
std::vector<Bytes> StreamCases(const FloodTarget& target) {
    std::vector<Bytes> cases;
    for (const Message& packet : SpoofedPackets(target)) {
        cases.push_back(testsupport::FramedMessage(packet.type, packet.payload));
        cases.push_back(testsupport::FramedMessage(packet.type, std::span(packet.payload.data(), packet.payload.size() / 2)));
    }
    Bytes join;
    PutText(join, "pw");
    PutRecord(join, 0, 1, "Ghost");
    for (std::size_t length = 0; length + 1 < join.size(); ++length) {
        cases.push_back(testsupport::FramedMessage(1, std::span(join.data(), length)));
    }
    Bytes data;
    Put32(data, target.clientId);
    Put32(data, 1);
    Put32(data, 5);
    Put32(data, kOversizedData);
    data.resize(data.size() + kOversizedData - 1, 0x55);
    cases.push_back(testsupport::FramedMessage(11, data));
    for (const hostile::Case& framing : hostile::MakeTypeCases(29)) {
        cases.push_back(framing.bytes);
    }
    return cases;
}

}  // namespace

FloodCount Flood(const FloodTarget& target, std::chrono::milliseconds duration, std::size_t connections,
                 const std::function<void()>& pump) {
    FloodCount count;
    const std::vector<Bytes> datagrams = DatagramCases(target);
    const std::vector<Bytes> streamCases = StreamCases(target);
    std::vector<testsupport::WirePeer> sources;
    for (std::size_t i = 0; i < kDatagramSources; ++i) {
        sources.push_back(testsupport::WirePeer::OpenDatagram());
    }
    std::mt19937 random(28);
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + duration;
    const auto connectionPeriod = duration / static_cast<long>(connections > 0 ? connections : 1);
    std::size_t nextDatagram = 0;
    std::size_t nextStream = 0;
    for (Clock::time_point now = start; now < end || count.connections < connections; now = Clock::now()) {
        for (std::size_t i = 0; i < kDatagramsPerRound && now < end; ++i) {
            testsupport::WirePeer& source = sources[random() % sources.size()];
            if (source.SendDatagram(target.port, datagrams[nextDatagram])) {
                ++count.datagrams;
            }
            nextDatagram = (nextDatagram + 1) % datagrams.size();
        }
        if (count.connections < connections && now - start >= connectionPeriod * static_cast<long>(count.connections)) {
            testsupport::WirePeer stream = testsupport::WirePeer::ConnectStream(target.port);
            ++count.connections;
            // Every other connection is dropped at once; the rest send first.
            for (std::size_t i = 0; stream.IsOpen() && count.connections % 2 == 0 && i < kMessagesPerConnection; ++i) {
                if (!stream.Write(streamCases[nextStream], milliseconds(50))) {
                    break;
                }
                ++count.streamMessages;
                nextStream = (nextStream + 1) % streamCases.size();
            }
            stream.Close();
            pump();
        }
        std::this_thread::sleep_for(milliseconds(1));
    }
    return count;
}

}  // namespace netdriver
