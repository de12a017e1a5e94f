#include "network/Network_PayloadReader.h"
#include "network/Network_PayloadWriter.h"
#include "network/Network_TunBroadcast.h"
#include "network/Network_TunPlayer.h"
#include "support/DamagedBytes.h"
#include "support/Network_WirePeer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using testsupport::Bytes;

constexpr int kMutations = 3000;

Bytes AddressBytes(const Network::Tun_Address& address) {
    const os::SocketAddress& raw = address.GetSocketAddress();
    return Bytes(raw.begin(), raw.end());
}

Bytes SpanBytes(std::span<const std::uint8_t> bytes) { return Bytes(bytes.begin(), bytes.end()); }

Bytes U32Bytes(std::uint32_t value) {
    Bytes bytes;
    Network::PayloadWriter(bytes).WriteU32(value);
    return bytes;
}

const Network::Tun_Address kPeer("127.0.0.1", 40000);

// One read of each kind, in payload order. `read` gives what the read
// returned, as bytes; a read past the end must give `zero`.
struct Read {
    const char* name;
    Bytes field;  // its bytes in the payload
    std::function<Bytes(Network::PayloadReader&)> read;
    Bytes value;  // what it gives when it fits
    Bytes zero;
    // Moves past its characters and zero; every other read by its field's width.
    bool isString = false;
};

std::vector<Read> EveryRead() {
    const Bytes address = AddressBytes(kPeer);
    return {
        {"u8", {0xA5}, [](Network::PayloadReader& r) { return Bytes{r.ReadU8()}; }, {0xA5}, {0}},
        {"u32", {1, 2, 3, 4}, [](Network::PayloadReader& r) { return U32Bytes(r.ReadU32()); }, {1, 2, 3, 4},
         {0, 0, 0, 0}},
        {"i32", {0xFE, 0xFF, 0xFF, 0xFF},
         [](Network::PayloadReader& r) { return U32Bytes(static_cast<std::uint32_t>(r.ReadI32())); },
         {0xFE, 0xFF, 0xFF, 0xFF}, {0, 0, 0, 0}},
        {"string", {'a', 'b', 0},
         [](Network::PayloadReader& r) {
             const Core::String text = r.ReadString();
             return Bytes(text.begin(), text.end());
         },
         {'a', 'b'}, {}, true},
        {"address", address, [](Network::PayloadReader& r) { return AddressBytes(r.ReadAddress()); }, address,
         AddressBytes(Network::Tun_Address())},
        {"bytes", {7, 8, 9}, [](Network::PayloadReader& r) { return SpanBytes(r.ReadBytes(3)); }, {7, 8, 9}, {}},
    };
}

TEST(NetworkPayloadReader, EveryTruncationFailsTheReadsThatDoNotFitAndAllAfter) {
    const std::vector<Read> reads = EveryRead();
    Bytes payload;
    for (const Read& read : reads) {
        payload.insert(payload.end(), read.field.begin(), read.field.end());
    }
    const Bytes tail{0x10, 0x20};
    payload.insert(payload.end(), tail.begin(), tail.end());

    for (std::uint32_t length = 0; length <= payload.size(); ++length) {
        Network::PayloadReader reader(payload.data(), length);
        std::uint32_t end = 0;
        bool fits = true;
        for (const Read& read : reads) {
            end += static_cast<std::uint32_t>(read.field.size());
            fits = fits && end <= length;
            EXPECT_EQ(read.read(reader), fits ? read.value : read.zero) << read.name << " of " << length;
            EXPECT_EQ(reader.HasFailed(), !fits) << read.name << " of " << length;
            EXPECT_LE(reader.GetPosition(), length);
        }
        const Bytes rest = SpanBytes(reader.ReadRest());
        EXPECT_EQ(rest, fits ? Bytes(payload.begin() + end, payload.begin() + length) : Bytes{}) << length;
        EXPECT_EQ(reader.GetRemaining(), 0u);
    }
}

TEST(NetworkPayloadReader, DamagedPayloadsMoveByWholeFieldsOrFailWithZeros) {
    const std::vector<Read> reads = EveryRead();
    Bytes payload;
    for (const Read& read : reads) {
        payload.insert(payload.end(), read.field.begin(), read.field.end());
    }
    testsupport::ForEachDamaged(payload, kMutations, 4, 14u, [&](const Bytes& bytes, const char* what, std::size_t n) {
        Network::PayloadReader reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        for (const Read& read : reads) {
            const bool failedBefore = reader.HasFailed();
            const std::uint32_t before = reader.GetPosition();
            const Bytes value = read.read(reader);
            if (reader.HasFailed()) {
                EXPECT_EQ(value, read.zero) << read.name << " " << what << " " << n;
                EXPECT_EQ(reader.GetPosition(), before);
                continue;
            }
            EXPECT_FALSE(failedBefore);
            const std::size_t width = read.isString ? value.size() + 1 : read.field.size();
            EXPECT_EQ(reader.GetPosition() - before, width) << read.name << " " << what << " " << n;
        }
        EXPECT_LE(reader.GetPosition(), bytes.size());
    });
}

TEST(NetworkPayloadReader, TakesOnlyTheIPv4FamilyAndCountsThatFit) {
    struct Case {
        std::uint8_t familyLow;
        std::uint8_t familyHigh;
        bool taken;
    };
    for (const Case c : {Case{2, 0, true}, Case{0, 2, false}, Case{0, 0, false}, Case{10, 0, false},
                         Case{2, 1, false}}) {
        Bytes payload = AddressBytes(kPeer);
        payload[0] = c.familyLow;
        payload[1] = c.familyHigh;
        payload.push_back(9);
        Network::PayloadReader reader(payload.data(), static_cast<std::uint32_t>(payload.size()));
        const Network::Tun_Address address = reader.ReadAddress();
        EXPECT_EQ(!reader.HasFailed(), c.taken) << int(c.familyLow) << "," << int(c.familyHigh);
        EXPECT_EQ(address.SameEndpoint(kPeer), c.taken);
        EXPECT_EQ(reader.ReadU8(), c.taken ? 9 : 0);
    }

    const Bytes four{1, 2, 3, 4};
    for (const std::uint32_t count : {5u, 0xFFFFFFFFu, 0xFFFFFFFCu}) {
        Network::PayloadReader reader(four.data(), 4);
        reader.ReadU8();
        EXPECT_TRUE(reader.ReadBytes(count).empty()) << count;
        EXPECT_TRUE(reader.HasFailed());
    }
    Network::PayloadReader empty(nullptr, 100);
    EXPECT_TRUE(empty.ReadBytes(0).empty());
    EXPECT_FALSE(empty.HasFailed());
    EXPECT_EQ(empty.ReadU8(), 0);
    EXPECT_TRUE(empty.HasFailed());
}

// A record reads whole or leaves the player as it was; what reads writes
// back as it came (the address's unused eight bytes written as zeros).
TEST(NetworkTunCodecHostile, DamagedPlayerRecordsReadWholeOrChangeNothing) {
    Core::RefPtr<Tundra::TunPlayer> ann = TUN_NEW(Tundra::TunPlayer, "Ann", false, false, kPeer);
    ann->SetID(2);
    Bytes record;
    Network::PayloadWriter recordWriter(record);
    ann->WriteRecord(recordWriter);

    const Network::Tun_Address before("10.0.0.9", 7);
    int taken = 0;
    testsupport::ForEachDamaged(record, kMutations, 4, 28u, [&](const Bytes& bytes, const char* what, std::size_t n) {
        Tundra::TunPlayer player("before", true, true, before);
        player.SetID(77);
        Network::PayloadReader reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        if (!player.ReadRecord(reader)) {
            EXPECT_EQ(player.GetID(), 77u) << what << " " << n;
            EXPECT_TRUE(player.IsHost() && player.IsLocal()) << what << " " << n;
            EXPECT_STREQ(player.GetName().c_str(), "before") << what << " " << n;
            EXPECT_TRUE(player.GetAddress().SameEndpoint(before)) << what << " " << n;
            EXPECT_STREQ(player.GetAddress().GetHostText().c_str(), "10.0.0.9") << what << " " << n;
            return;
        }
        ++taken;
        Bytes expected(bytes.begin(), bytes.begin() + reader.GetPosition());
        std::fill(expected.begin() + 13, expected.begin() + 21, 0);
        Bytes again;
        Network::PayloadWriter writer(again);
        player.WriteRecord(writer);
        EXPECT_EQ(again, expected) << what << " " << n;
    });
    EXPECT_GT(taken, 0);
}

TEST(NetworkTunCodecHostile, DamagedAnnouncementsReadWholeOrChangeNothing) {
    Bytes announcement;
    Network::PayloadWriter announcementWriter(announcement);
    Tundra::TunBroadcast::WriteAnnouncement(announcementWriter, kPeer, 4, 1, true, "Room", "EL");

    int taken = 0;
    testsupport::ForEachDamaged(announcement, kMutations, 4, 29u,
                                [&](const Bytes& bytes, const char* what, std::size_t n) {
        Tundra::TunBroadcast found;
        found.SetAge(5.0f);
        Network::PayloadReader reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        if (!found.ReadAnnouncement(reader)) {
            EXPECT_EQ(found.GetAge(), 5.0f) << what << " " << n;
            EXPECT_TRUE(found.GetHostName().empty() && found.GetNetworkID().empty()) << what << " " << n;
            EXPECT_EQ(found.GetSessionMaxPlayers() + found.GetSessionPlayersNumber(), 0u) << what << " " << n;
            EXPECT_FALSE(found.IsPasswordProtected()) << what << " " << n;
            EXPECT_TRUE(found.GetAddress().SameEndpoint(Network::Tun_Address())) << what << " " << n;
            return;
        }
        ++taken;
        Bytes expected(bytes.begin(), bytes.begin() + reader.GetPosition());
        std::fill(expected.begin() + 8, expected.begin() + 16, 0);
        Bytes again;
        Network::PayloadWriter writer(again);
        Tundra::TunBroadcast::WriteAnnouncement(writer, found.GetAddress(), found.GetSessionMaxPlayers(),
                                                found.GetSessionPlayersNumber(), found.IsPasswordProtected(),
                                                found.GetHostName(), found.GetNetworkID());
        EXPECT_EQ(again, expected) << what << " " << n;
    });
    EXPECT_GT(taken, 0);
}

TEST(NetworkTunCodecHostile, MalformedFieldsFailTheWholeRecord) {
    struct Case {
        const char* what;
        bool record;  // else an announcement
        std::function<void(Bytes&)> damage;
    };
    const std::vector<Case> cases{
        {"record: host flag 2", true, [](Bytes& b) { b[4] = 2; }},
        {"record: no zero after the name", true, [](Bytes& b) { b.pop_back(); }},
        {"announcement: password flag 2", false, [](Bytes& b) { b[24] = 2; }},
        {"announcement: name length 0", false, [](Bytes& b) { b[25] = 0; }},
        {"announcement: name length past the payload", false, [](Bytes& b) { b[25] = 40; }},
        {"announcement: huge name length", false, [](Bytes& b) { b[28] = 0xFF; }},
        {"announcement: name length short of the zero", false, [](Bytes& b) { b[25] = 4; }},
        {"announcement: name length over the zero", false, [](Bytes& b) { b[25] = 6; }},
        {"announcement: no network ID zero", false, [](Bytes& b) { b.pop_back(); }},
        {"announcement: family in network order", false, [](Bytes& b) { std::swap(b[0], b[1]); }},
    };
    for (const Case& c : cases) {
        Bytes bytes;
        Network::PayloadWriter writer(bytes);
        Tundra::TunPlayer player("Ann", false, false, kPeer);
        if (c.record) {
            player.WriteRecord(writer);
        } else {
            Tundra::TunBroadcast::WriteAnnouncement(writer, kPeer, 4, 1, false, "Room", "EL");
        }
        c.damage(bytes);
        Network::PayloadReader reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        Tundra::TunBroadcast found;
        EXPECT_FALSE(c.record ? player.ReadRecord(reader) : found.ReadAnnouncement(reader)) << c.what;
    }
}

}  // namespace
