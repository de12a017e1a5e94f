// The network's script tables: the front end, its groups and players, and
// found sessions, as scripts reach them from the "Game" table.
#include "Tundra_ScriptChunk.h"
#include "network/Network_TunNet.h"
#include "support/Network_FrontEndFixture.h"
#include "tundra/Lua_MethodTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace network_tables_test {

using namespace testsupport;
using tundratest::NumberAt;
using tundratest::RunChunk;
using tundratest::TextAt;

std::vector<double> NumbersOf(const std::string& code, int count) {
    std::vector<double> numbers;
    EXPECT_TRUE(RunChunk(code, count, [&](lua_State* state, int first) {
        for (int i = 0; i < count; ++i) {
            numbers.push_back(NumberAt(state, first + i));
        }
    })) << code;
    return numbers;
}

// Calls every method of the receivers with nothing, nils and wrong values;
// errors are the scripts' own (pcall), faults are not.
constexpr const char* kSweep =
    "local values = { 1e12, 0/0, -1, 'x', {}, true, Game, Game:GetCurrentLevel() } "
    "local function sweep(receiver, names) "
    "  for _, name in ipairs(names) do "
    "    pcall(receiver[name], receiver) "
    "    pcall(receiver[name], receiver, nil, nil, nil, nil) "
    "    for _, v in ipairs(values) do pcall(receiver[name], receiver, v, v, v, v) end "
    "    for _, v in ipairs(values) do pcall(receiver[name], v, v) end "
    "  end "
    "end ";

std::string NamesOf(const char* scriptName) {
    const Lua::MethodTable* table = Lua::FindTable(scriptName);
    std::string names = "{";
    for (const Lua::Method& method : table->methods) {
        names += "'" + std::string(method.name) + "',";
    }
    return names + "}";
}

class NetworkTablesTest : public FrontEndGameTest {
protected:
    // Hosting through the scripts, with the wire peer joined as "Ann".
    bool HostWithAnn() {
        if (NumbersOf("Game:NetworkStart('EL') return Game:HostNetworkGame('Room', 'Host', '', 4)", 1) !=
            std::vector<double>{1}) {
            return false;
        }
        m_ann = ConnectWireClient(HostPort(Net()));
        return m_ann.RequestJoin("", "Ann") && PumpUntil(Net(), [&] { return Net().GetSessionPlayersNumber() == 2; });
    }
    WireClient m_ann;
};

TEST_F(NetworkTablesTest, EachTableNamesItsMethodsInOrder) {
    const std::vector<std::pair<const char*, std::vector<std::string>>> golden{
        {"TunNet",
         {"AddBaseNetObject", "RemoveNetObjectsControlledBy", "CreateGroup", "DestroyGroup", "SendTextMessage",
          "SendTextMessageToPlayer", "SendDataMessage", "SendDataMessageToPlayer", "QueryPlayer", "QueryGroup",
          "GetSessionPlayers", "GetSessionPlayersNumber", "GetLocalPlayer", "GetBroadcastTimeOut"}},
        {"TunGroup", {"GetName", "GetID", "GetOwner", "AddPlayer", "RemovePlayer", "QueryPlayer", "GetSize"}},
        {"TunPlayer", {"GetName", "IsLocal", "IsHost", "GetID", "GetPingTime"}},
        {"TunBroadcast",
         {"GetNetworkID", "GetHostName", "GetSessionMaxPlayers", "GetSessionPlayersNumber", "IsPasswordProtected"}},
    };
    for (const auto& [scriptName, names] : golden) {
        const Lua::MethodTable* table = Lua::FindTable(scriptName);
        ASSERT_NE(table, nullptr) << scriptName;
        std::vector<std::string> found;
        for (const Lua::Method& method : table->methods) {
            found.emplace_back(method.name);
        }
        EXPECT_EQ(found, names) << scriptName;
    }
}

TEST_F(NetworkTablesTest, WithoutASessionThereAreNoPlayersAndDataMessagesDoNothing) {
    EXPECT_EQ(NumbersOf("local net = Game:GetNetworkEngine() "
                        "return net:GetSessionPlayers() == nil, net:GetLocalPlayer() == nil, net:QueryPlayer(1) == nil, "
                        "net:QueryGroup(1):GetSize(), net:GetSessionPlayersNumber(), net:GetBroadcastTimeOut(), "
                        "select('#', net:SendDataMessage(true, 1, 2)), select('#', net:SendDataMessageToPlayer(true, 1))",
                        8),
              (std::vector<double>{1, 1, 1, 0, 0, 0.5, 0, 0}));
}

TEST_F(NetworkTablesTest, AHostReachesItsPlayersAndGroupsByIdOrName) {
    ASSERT_TRUE(HostWithAnn());
    const std::uint32_t hostId = Net().GetLocalPlayer()->GetID();
    std::string ann;
    std::vector<double> numbers;
    ASSERT_TRUE(RunChunk(
        "local net = Game:GetNetworkEngine() "
        "local list = net:GetSessionPlayers() "
        "local host, ann = list[1], list[2] "
        "local all = net:QueryGroup('All_Players') "
        "return ann:GetName(), #list, host:GetID(), ann:GetID() > host:GetID() and 1 or 0, "
        "host:IsHost() and host:IsLocal() and not ann:IsHost() and not ann:IsLocal() and 1 or 0, "
        "net:QueryPlayer(ann:GetID()) == ann and net:QueryPlayer('Ann') == ann and 1 or 0, "
        "net:QueryPlayer('ann') == nil and net:QueryPlayer(-1) == nil and net:QueryPlayer({}) == nil and 1 or 0, "
        "all:GetID(), all:GetSize(), all:GetOwner() == nil and 1 or 0, "
        "all:QueryPlayer('Ann') == ann and all:QueryPlayer(host:GetID()) == host and 1 or 0, "
        "all:AddPlayer(ann), all:RemovePlayer('Bob'), all:RemovePlayer(-1), all:GetSize(), host:GetPingTime()",
        16, [&](lua_State* state, int first) {
            ann = TextAt(state, first);
            for (int i = 1; i < 16; ++i) {
                numbers.push_back(NumberAt(state, first + i));
            }
        }));
    EXPECT_EQ(ann, "Ann");
    EXPECT_EQ(numbers, (std::vector<double>{2, static_cast<double>(hostId), 1, 1, 1, 1, 1, 2, 1, 1, 0, 0, 0, 2, 0}));

    // Texts: to everybody with the host's own echo, and to Ann alone.
    tundratest::Log().clear();
    EXPECT_EQ(NumbersOf("local net = Game:GetNetworkEngine() "
                        "return net:SendTextMessage(true, 'hi', true), "
                        "net:SendTextMessageToPlayer(true, 'you', net:QueryPlayer('Ann')), "
                        "net:SendTextMessage(true, 'group', net:QueryGroup(1), false)",
                        3),
              (std::vector<double>{1, 1, 1}));
    EXPECT_EQ(Entries("net text"), std::vector<std::string>{"net text " + std::to_string(hostId) + " hi"});
    for (const char* text : {"hi", "you", "group"}) {
        const std::optional<WireMessage> heard = m_ann.ReadUntil(static_cast<std::uint32_t>(Tundra::TunPacket::Text));
        ASSERT_TRUE(heard) << text;
        const std::string payload(heard->payload.begin() + 8, heard->payload.end() - 1);
        EXPECT_EQ(payload, text);
    }
}

TEST_F(NetworkTablesTest, WrongArgumentsAndReceiversFaultNothingAndChangeNoPlayer) {
    ASSERT_TRUE(HostWithAnn());
    const std::string code = std::string(kSweep) + "local net = Game:GetNetworkEngine() " +
                             "local all = net:QueryGroup(1) local ann = net:QueryPlayer('Ann') " +
                             "sweep(net, " + NamesOf("TunNet") + ") sweep(all, " + NamesOf("TunGroup") +
                             ") sweep(ann, " + NamesOf("TunPlayer") + ") " +
                             "return net:GetSessionPlayersNumber(), all:GetSize(), Game:IsServer()";
    EXPECT_EQ(NumbersOf(code, 3), (std::vector<double>{2, 2, 1}));

    // A found session, and the game's network entries, on loopback.
    ASSERT_TRUE(NumbersOf("return Game:NetworkStart('EL')", 1) == std::vector<double>{1});
    WirePeer announcer = WirePeer::OpenDatagram();
    announcer.SendDatagram(DiscoveryPort(), FramedMessage(0, Announcement(40000, 4, 1, true, "Room", "EL")));
    ASSERT_TRUE(PumpUntil(Net(), [&] {
        Step(1);
        return m_game->GetOnlineSessions().size() == 1;
    }));
    const std::string entries = std::string(kSweep) + "sweep(Game:GetOnlineSession(0), " + NamesOf("TunBroadcast") +
                                ") sweep(Game, {'JoinNetworkGame', 'HostNetworkGame', 'NetworkStart', "
                                "'GetOnlineSession', 'GetNetworkEngine'}) "
                                "return Game:GetOnlineSession(0):IsPasswordProtected()";
    EXPECT_EQ(NumbersOf(entries, 1), std::vector<double>{1});
}

}  // namespace network_tables_test
