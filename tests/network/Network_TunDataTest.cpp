#include "network/Network_NetObjectID.h"
#include "network/Network_PayloadReader.h"
#include "network/Network_PayloadWriter.h"
#include "network/Network_TunBroadcast.h"
#include "network/Network_TunGroup.h"
#include "network/Network_TunPlayer.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "support/Network_WirePeer.h"
#include "support/Tundra_TestGame.h"
#include "tundra/Lua_BroadcastValue.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <string>
#include <vector>

namespace {

using testsupport::Bytes;

const Network::Tun_Address kAnnAddress("127.0.0.1", 40000);

// Id 2, no host flag, 127.0.0.1:40000, "Ann".
const Bytes kAnnRecord{0x02, 0, 0, 0, 0x00, 0x02, 0x00, 0x9C, 0x40, 0x7F, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0,
                       0x41, 0x6E, 0x6E, 0x00};

// 127.0.0.1:40000, max 4, 1 player, no password, "Room", network ID "EL".
const Bytes kRoomAnnouncement{0x02, 0x00, 0x9C, 0x40, 0x7F, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0,
                              0x04, 0,    0,    0,    0x01, 0, 0, 0, 0, 0x05, 0, 0, 0,
                              0x52, 0x6F, 0x6F, 0x6D, 0x00, 0x45, 0x4C, 0x00};

Core::RefPtr<Tundra::TunPlayer> Player(std::uint32_t id, const char* name) {
    Core::RefPtr<Tundra::TunPlayer> player = TUN_NEW(Tundra::TunPlayer, name, false, false, Network::Tun_Address());
    player->SetID(id);
    return player;
}

std::vector<std::string> Names(const Tundra::TunGroup& group) {
    std::vector<std::string> names;
    for (const Core::RefPtr<Tundra::TunPlayer>& player : group.GetPlayers()) {
        names.emplace_back(player->GetName().c_str());
    }
    return names;
}

TEST(NetworkTunCodec, PlayerRecordMatchesTheWireBytesBothWays) {
    Core::RefPtr<Tundra::TunPlayer> ann = TUN_NEW(Tundra::TunPlayer, "Ann", true, false, kAnnAddress);
    ann->SetID(2);
    Bytes written;
    Network::PayloadWriter writer(written);
    ann->WriteRecord(writer);
    EXPECT_EQ(written, kAnnRecord);

    Tundra::TunPlayer read("x", true, true, Network::Tun_Address());
    Network::PayloadReader reader(kAnnRecord.data(), static_cast<std::uint32_t>(kAnnRecord.size()));
    ASSERT_TRUE(read.ReadRecord(reader));
    EXPECT_EQ(reader.GetRemaining(), 0u);
    EXPECT_EQ(read.GetID(), 2u);
    EXPECT_FALSE(read.IsHost());
    EXPECT_TRUE(read.IsLocal()) << "the local flag is never read";
    EXPECT_STREQ(read.GetName().c_str(), "Ann");
    EXPECT_TRUE(read.GetAddress().SameEndpoint(kAnnAddress));
    EXPECT_STREQ(read.GetAddress().GetHostText().c_str(), "127.0.0.1");
}

TEST(NetworkTunCodec, AnnouncementMatchesTheWireBytesBothWays) {
    Bytes written;
    Network::PayloadWriter writer(written);
    Tundra::TunBroadcast::WriteAnnouncement(writer, kAnnAddress, 4, 1, false, "Room", "EL");
    EXPECT_EQ(written, kRoomAnnouncement);

    Tundra::TunBroadcast found;
    found.SetAge(3.0f);
    Network::PayloadReader reader(kRoomAnnouncement.data(), static_cast<std::uint32_t>(kRoomAnnouncement.size()));
    ASSERT_TRUE(found.ReadAnnouncement(reader));
    EXPECT_STREQ(found.GetHostName().c_str(), "Room");
    EXPECT_STREQ(found.GetNetworkID().c_str(), "EL");
    EXPECT_TRUE(found.GetAddress().SameEndpoint(kAnnAddress));
    EXPECT_EQ(found.GetSessionMaxPlayers(), 4u);
    EXPECT_EQ(found.GetSessionPlayersNumber(), 1u);
    EXPECT_FALSE(found.IsPasswordProtected());
    EXPECT_EQ(found.GetAge(), 0.0f);
}

TEST(NetworkTunCodec, TextPacketIsTheHeaderThenSenderTargetAndText) {
    Bytes payload;
    Network::PayloadWriter writer(payload);
    writer.WriteU32(3);
    writer.WriteU32(1);
    writer.WriteString("hi");
    EXPECT_EQ(testsupport::FramedMessage(10, payload),
              (Bytes{0x0A, 0, 0, 0, 0x13, 0, 0, 0, 0x03, 0, 0, 0, 0x01, 0, 0, 0, 0x68, 0x69, 0x00}));
}

TEST(NetworkTunCodec, WriterClearKeepsTheBufferForTheNextPayload) {
    Bytes buffer;
    Network::PayloadWriter writer(buffer);
    writer.WriteI32(-2);
    writer.WriteU8(7);
    writer.WriteBytes(Bytes{1, 2});
    EXPECT_EQ(buffer, (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 7, 1, 2}));
    EXPECT_EQ(writer.GetSize(), 7u);
    writer.Clear();
    writer.WriteString("");
    EXPECT_EQ(buffer, Bytes{0});
}

TEST(NetworkTunGroup, KeepsOnePlayerPerIdInAscendingOrder) {
    Tundra::TunGroup group("g", nullptr);
    const Core::RefPtr<Tundra::TunPlayer> ann = Player(5, "Ann");
    EXPECT_TRUE(group.AddPlayer(ann.Get()));
    EXPECT_FALSE(group.AddPlayer(ann.Get()));
    EXPECT_FALSE(group.AddPlayer(Player(5, "Other").Get()));
    EXPECT_FALSE(group.AddPlayer(nullptr));
    EXPECT_EQ(group.GetPlayerCount(), 1u);

    for (const auto& [id, name] : std::vector<std::pair<std::uint32_t, const char*>>{
             {9, "Bob"}, {2, "Cy"}, {7, "Bob"}, {3, "Di"}}) {
        EXPECT_TRUE(group.AddPlayer(Player(id, name).Get()));
    }
    EXPECT_EQ(Names(group), (std::vector<std::string>{"Cy", "Di", "Ann", "Bob", "Bob"}));
    EXPECT_EQ(group.QueryPlayer("Bob")->GetID(), 7u) << "by name: the first in id order";
    EXPECT_EQ(group.QueryPlayer(9u)->GetID(), 9u);
    EXPECT_EQ(group.QueryPlayer(4u), nullptr);
    EXPECT_EQ(group.QueryPlayer("Eve"), nullptr);
}

TEST(NetworkTunGroup, RemovesByNameOrIdAndStaysSorted) {
    struct Case {
        const char* name;  // null: remove by id
        std::uint32_t id;
        bool removed;
        std::vector<std::string> left;
    };
    const std::vector<Case> cases{
        {"Bob", 0, true, {"Ann", "Bob", "Cy"}},  // the first Bob (id 2) goes
        {nullptr, 4, true, {"Ann", "Bob", "Bob"}},
        {"Eve", 0, false, {"Ann", "Bob", "Bob", "Cy"}},
        {nullptr, 8, false, {"Ann", "Bob", "Bob", "Cy"}},
    };
    for (const Case& c : cases) {
        Tundra::TunGroup group("g", nullptr);
        for (const auto& [id, name] : std::vector<std::pair<std::uint32_t, const char*>>{
                 {4, "Cy"}, {3, "Bob"}, {1, "Ann"}, {2, "Bob"}}) {
            group.AddPlayer(Player(id, name).Get());
        }
        const bool removed = c.name != nullptr ? group.RemovePlayer(Core::String(c.name)) : group.RemovePlayer(c.id);
        EXPECT_EQ(removed, c.removed) << (c.name != nullptr ? c.name : "id");
        EXPECT_EQ(Names(group), c.left);
    }
}

TEST(NetworkTunGroup, AllPlayersIsIdOneAndOtherGroupsCountOnFromTwo) {
    const std::uint32_t before = Tundra::TunGroup::NextGroupId();
    EXPECT_GE(before, 2u);
    Tundra::TunGroup allPlayers("All_Players", nullptr);
    Tundra::TunGroup first("All_Players", Player(1, "Ann").Get());  // owned: an ordinary group
    Tundra::TunGroup second("team", nullptr);
    EXPECT_EQ(allPlayers.GetID(), 1u);
    EXPECT_EQ(first.GetID(), before + 1);
    EXPECT_EQ(second.GetID(), before + 2);
}

TEST(NetworkTunData, ObjectNumbersCountOnAndNeverRepeat) {
    const std::uint32_t first = Tundra::NetObjectID::NextObjectNumber();
    EXPECT_GE(first, 1u);
    EXPECT_EQ(Tundra::NetObjectID::NextObjectNumber(), first + 1);
}

TEST(NetworkTunData, AFoundSessionReachesScriptsAsACopyOfEveryField) {
    Tundra::TunBroadcast found;
    Network::PayloadReader reader(kRoomAnnouncement.data(), static_cast<std::uint32_t>(kRoomAnnouncement.size()));
    ASSERT_TRUE(found.ReadAnnouncement(reader));
    found.SetAge(0.25f);

    lua_State* state = luaL_newstate();
    luaL_newmetatable(state, Lua::kBroadcastName);
    lua_pop(state, 1);
    found.PushToLua(state);
    found = Tundra::TunBroadcast();
    lua_pushnumber(state, 1);
    EXPECT_EQ(Lua::GetBroadcast(state, -1), nullptr);
    const Lua::BroadcastValue* value = Lua::GetBroadcast(state, -2);
    ASSERT_NE(value, nullptr);
    const Tundra::TunBroadcast copy = value->ToRecord();
    EXPECT_STREQ(copy.GetHostName().c_str(), "Room");
    EXPECT_STREQ(copy.GetNetworkID().c_str(), "EL");
    EXPECT_TRUE(copy.GetAddress().SameEndpoint(kAnnAddress));
    EXPECT_EQ(copy.GetSessionMaxPlayers(), 4u);
    EXPECT_EQ(copy.GetSessionPlayersNumber(), 1u);
    EXPECT_FALSE(copy.IsPasswordProtected());
    EXPECT_EQ(copy.GetAge(), 0.25f);
    lua_close(state);
}

class NetworkTunPlayerDevices : public tundratest::GameTest {};

TEST_F(NetworkTunPlayerDevices, TheLocalHostPlayerUsesTheGamesDevicesAnyOtherItsMirrors) {
    Start();
    Tundra::TunPlayer localHost("h", true, true, Network::Tun_Address());
    EXPECT_EQ(localHost.GetKeyboard(), m_game->GetKeyboard());
    EXPECT_EQ(localHost.GetMouse(), m_game->GetMouse());
    ASSERT_NE(localHost.GetKeyboard(), nullptr);

    for (const bool isLocal : {true, false}) {
        Tundra::TunPlayer player("p", isLocal, !isLocal, Network::Tun_Address());
        EXPECT_EQ(player.GetKeyboard(), nullptr);
        EXPECT_EQ(player.GetMouse(), nullptr);
        player.CreateMirrorDevices();
        ASSERT_NE(player.GetKeyboard(), nullptr);
        EXPECT_EQ(player.GetKeyboard(), player.GetMirrorKeyboard());
        EXPECT_NE(player.GetKeyboard(), m_game->GetKeyboard());
        EXPECT_NE(player.GetMouse(), m_game->GetMouse());
        // A mirror is a remote device: it writes no snapshot of its own.
        EXPECT_TRUE(player.GetMouse()->WriteSnapshot().empty());
    }
}

}  // namespace
