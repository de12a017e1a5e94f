#include "Fuzz_Harness.h"

#include "network/Network_PayloadReader.h"
#include "network/Network_PayloadWriter.h"
#include "network/Network_TunBroadcast.h"
#include "network/Network_TunPlayer.h"

#include <algorithm>
#include <cstdlib>

// The front end's payload codecs on bytes from a peer. The first byte picks:
// 0 a player record, 1 a LAN announcement, 2 a run of reader calls (the
// next byte is the number of call bytes that follow, then the payload). A
// record or announcement reads whole, writing back as it came (the address's
// unused eight bytes as zeros), or leaves its target as it was; the reader
// never passes the payload's end and, once failed, gives only zeros.
namespace {

enum Mode : std::uint8_t { kPlayerRecord, kAnnouncement, kReaderCalls };

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

const Network::Tun_Address kBefore("10.0.0.9", 7);

// What the reader consumed, the address at offset `address` with its unused bytes zeroed.
fuzz::Bytes Consumed(const fuzz::Bytes& bytes, const Network::PayloadReader& reader, std::size_t address) {
    fuzz::Bytes consumed(bytes.begin(), bytes.begin() + reader.GetPosition());
    std::fill(consumed.begin() + static_cast<std::ptrdiff_t>(address + 8),
              consumed.begin() + static_cast<std::ptrdiff_t>(address + 16), 0);
    return consumed;
}

void PlayerRecord(const fuzz::Bytes& bytes) {
    Tundra::TunPlayer player("before", true, true, kBefore);
    player.SetID(77);
    Network::PayloadReader reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    if (!player.ReadRecord(reader)) {
        Check(player.GetID() == 77 && player.IsHost() && player.IsLocal() && player.GetName() == "before");
        Check(player.GetAddress().SameEndpoint(kBefore) && player.GetAddress().GetHostText() == "10.0.0.9");
        return;
    }
    fuzz::Bytes again;
    Network::PayloadWriter writer(again);
    player.WriteRecord(writer);
    Check(again == Consumed(bytes, reader, 5));
}

void Announcement(const fuzz::Bytes& bytes) {
    Tundra::TunBroadcast found;
    found.SetAge(5.0f);
    Network::PayloadReader reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    if (!found.ReadAnnouncement(reader)) {
        Check(found.GetAge() == 5.0f && found.GetHostName().empty() && found.GetNetworkID().empty());
        Check(found.GetSessionMaxPlayers() == 0 && found.GetSessionPlayersNumber() == 0);
        Check(!found.IsPasswordProtected() && found.GetAddress().SameEndpoint(Network::Tun_Address()));
        return;
    }
    Check(found.GetAge() == 0.0f);
    fuzz::Bytes again;
    Network::PayloadWriter writer(again);
    Tundra::TunBroadcast::WriteAnnouncement(writer, found.GetAddress(), found.GetSessionMaxPlayers(),
                                            found.GetSessionPlayersNumber(), found.IsPasswordProtected(),
                                            found.GetHostName(), found.GetNetworkID());
    Check(again == Consumed(bytes, reader, 0));
}

// One call per byte: its low three bits pick the read, the rest is a count for ReadBytes.
void ReaderCalls(const fuzz::Bytes& calls, const fuzz::Bytes& payload) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    Network::PayloadReader reader(payload.data(), length);
    for (const std::uint8_t call : calls) {
        const bool failedBefore = reader.HasFailed();
        const std::uint32_t before = reader.GetPosition();
        bool zero = true;
        switch (call % 7) {
            case 0: zero = reader.ReadU8() == 0; break;
            case 1: zero = reader.ReadU32() == 0; break;
            case 2: zero = reader.ReadI32() == 0; break;
            case 3: zero = reader.ReadString().empty(); break;
            case 4: zero = reader.ReadAddress().SameEndpoint(Network::Tun_Address()); break;
            case 5: zero = reader.ReadBytes(call >> 3).empty(); break;
            default: zero = reader.ReadRest().empty(); break;
        }
        Check(reader.GetPosition() <= length);
        Check(reader.HasFailed() ? reader.GetRemaining() == 0 : reader.GetRemaining() == length - reader.GetPosition());
        if (failedBefore) {
            Check(reader.HasFailed() && zero && reader.GetPosition() == before);
        }
        if (reader.HasFailed()) {
            Check(zero);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t mode = input.Byte() % 3;
    if (mode == kReaderCalls) {
        fuzz::Bytes calls;
        for (std::uint8_t count = input.Byte(); count > 0 && !input.Empty(); --count) {
            calls.push_back(input.Byte());
        }
        ReaderCalls(calls, input.Rest());
    } else if (mode == kPlayerRecord) {
        PlayerRecord(input.Rest());
    } else {
        Announcement(input.Rest());
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const Network::Tun_Address peer("127.0.0.1", 40000);
    const auto seed = [&seeds](std::string_view name, Mode mode, const fuzz::Bytes& prefix, const auto& write) {
        fuzz::Bytes bytes{mode};
        bytes.insert(bytes.end(), prefix.begin(), prefix.end());
        Network::PayloadWriter writer(bytes);
        write(writer);
        seeds.Add(name, bytes);
    };
    seed("record", kPlayerRecord, {}, [&peer](Network::PayloadWriter& writer) {
        Tundra::TunPlayer ann("Ann", false, true, peer);
        ann.SetID(2);
        ann.WriteRecord(writer);
    });
    seed("announcement", kAnnouncement, {}, [&peer](Network::PayloadWriter& writer) {
        Tundra::TunBroadcast::WriteAnnouncement(writer, peer, 4, 1, true, "Room", "EL");
    });
    // u32, string, address, u8, 3 bytes, rest: a text packet's fields and more.
    seed("reader_calls", kReaderCalls, {6, 1, 3, 4, 0, 5 | 3 << 3, 6}, [&peer](Network::PayloadWriter& writer) {
        writer.WriteU32(3);
        writer.WriteString("hi");
        writer.WriteAddress(peer);
        writer.WriteU8(1);
        writer.WriteBytes(fuzz::Bytes{1, 2, 3, 4});
    });
}
