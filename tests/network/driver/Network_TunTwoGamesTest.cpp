// Two copies of the game on one machine, as a new user would try them: each
// a network driver (the game headless on the real clock, reaching the
// network only through scripts), the test telling both what to do.

#include "Network_DriverFlood.h"
#include "Network_DriverProcess.h"

#include "support/Network_WirePeer.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using netdriver::DriverProcess;
using netdriver::Field;
using std::chrono::milliseconds;

// Hang guards of the waits for a driver to start, list, load a level,
// follow the host or notice a lost peer: far beyond any load.
constexpr milliseconds kStartLimit{240000};
constexpr milliseconds kBrowseLimit{240000};
constexpr milliseconds kLevelLimit{240000};
constexpr milliseconds kFollowLimit{240000};
constexpr milliseconds kPeerLossLimit{240000};
constexpr long kFloodGrowthLimitKiB = 4 * 1024;
// 'Q': the key the client holds (a virtual-key code) and how scripts name it
// (a key id).
constexpr int kHeldKeyCode = 0x51;
constexpr int kHeldKeyId = 69;

// A replicated object as a summary shows it.
struct Dot {
    std::string identity;  // "owner.number"
    std::string layer;
    double x = 0.0;
    double y = 0.0;
};

std::map<std::string, Dot> Dots(const std::string& summary) {
    std::map<std::string, Dot> dots;
    std::istringstream list(Field(summary, "dots"));
    std::string entry;
    while (std::getline(list, entry, ';')) {
        const std::size_t at = entry.find('@');
        const std::size_t colon = entry.find(':', at);
        const std::size_t comma = entry.find(',', colon);
        if (at == std::string::npos || colon == std::string::npos || comma == std::string::npos) {
            continue;
        }
        Dot dot{entry.substr(0, at), entry.substr(at + 1, colon - at - 1),
                std::atof(entry.substr(colon + 1, comma - colon - 1).c_str()), std::atof(entry.substr(comma + 1).c_str())};
        dots[dot.identity] = dot;
    }
    return dots;
}

std::string Identities(const std::string& summary) {
    std::string identities;
    for (const auto& [identity, dot] : Dots(summary)) {
        identities += identity + "@" + dot.layer + " ";
    }
    return identities;
}

// The kinds of the "event" lines from index `from` on.
std::vector<int> EventKinds(const DriverProcess& driver, std::size_t from) {
    std::vector<int> kinds;
    for (std::size_t i = from; i < driver.Lines().size(); ++i) {
        if (driver.Lines()[i].rfind("event ", 0) == 0) {
            kinds.push_back(std::atoi(driver.Lines()[i].c_str() + 6));
        }
    }
    return kinds;
}

class TwoGamesTest : public testing::Test {
protected:
    void SetUp() override {
        // A free port for the discovery listener; the host is told it.
        testsupport::WirePeer probe = testsupport::WirePeer::OpenDatagram();
        ASSERT_TRUE(probe.IsOpen());
        m_port = probe.GetLocalPort();
        m_networkId = "EL" + std::to_string(getpid());
        // Freed memory waits in a small quarantine only, so that the host's
        // memory shows what it keeps (a flood four times as long grows it no
        // further).
        const char* options = std::getenv("ASAN_OPTIONS");
        m_asanOptions = options != nullptr ? options : "";
        setenv("ASAN_OPTIONS", (m_asanOptions + ":quarantine_size_mb=1").c_str(), 1);
    }

    void TearDown() override { setenv("ASAN_OPTIONS", m_asanOptions.c_str(), 1); }

    std::unique_ptr<DriverProcess> StartDriver(const std::string& role, const std::string& name,
                                               const std::string& session = "Room") {
        auto driver = std::make_unique<DriverProcess>(name);
        const std::string home = m_home.Path() + "/" + name;
        const bool started =
            driver->Start(NETWORK_DRIVER_PROGRAM,
                          {"--role", role, "--port", std::to_string(m_port), "--network-id", m_networkId, "--home",
                           home, "--name", name, "--session", session, "--seconds", "900"},
                          kStartLimit);
        EXPECT_TRUE(started) << name << " did not start";
        const auto first = driver->WaitForPrefix("started ", kStartLimit);
        EXPECT_TRUE(first.has_value()) << name << " did not start networking";
        if (first) {
            EXPECT_EQ(driver->Lines()[*first], role == "host" ? "started ok true|true" : "started ok true");
        }
        return driver;
    }

    // The session this game lists, waited for from now on.
    bool Lists(DriverProcess& client, const std::string& session, milliseconds limit, std::size_t from = 0) {
        return client.WaitFor(
                   [&](const std::string& line) {
                       return line.rfind("sessions ", 0) == 0 && line.find(session) != std::string::npos;
                   },
                   limit, from)
            .has_value();
    }

    static std::string State(DriverProcess& driver) { return driver.Ask("state").value_or(""); }

    // Polls the summary until the test holds; the last one either way.
    static std::string StateWhen(DriverProcess& driver, const std::function<bool(const std::string&)>& test,
                                 milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        std::string summary = State(driver);
        while (!test(summary) && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(milliseconds(30));
            summary = State(driver);
        }
        return summary;
    }

    // Both drivers' output, read so that neither waits on a full pipe.
    void Pump(std::initializer_list<DriverProcess*> drivers) {
        for (DriverProcess* driver : drivers) {
            driver->Drain();
        }
    }

    testsupport::TempDirectory m_home;
    std::uint16_t m_port = 0;
    std::string m_networkId;
    std::string m_asanOptions;
};

bool CopiesFollow(const std::string& host, const std::string& client) {
    const std::map<std::string, Dot> hostDots = Dots(host);
    const std::map<std::string, Dot> clientDots = Dots(client);
    if (hostDots.size() != clientDots.size() || hostDots.empty()) {
        return false;
    }
    for (const auto& [identity, dot] : hostDots) {
        const auto copy = clientDots.find(identity);
        if (copy == clientDots.end() || copy->second.layer != dot.layer || std::abs(copy->second.x - dot.x) > 1.0 ||
            std::abs(copy->second.y - dot.y) > 1.0) {
            return false;
        }
    }
    return true;
}

TEST_F(TwoGamesTest, FindJoinReplicateSurviveAHostilePeerAndLostPeers) {
    std::unique_ptr<DriverProcess> host = StartDriver("host", "Host");
    ASSERT_TRUE(host->WaitForPrefix("level 1 ", kLevelLimit)) << "the host never reached the title level";
    const std::string hostId = Field(State(*host), "local");
    ASSERT_NE(hostId, "0");
    // One object of the host's own before anyone joins: the joining client
    // gets it in its snapshot.
    ASSERT_EQ(host->Lua("return Driver.AddDot(nil, -50, 20)"), "true");

    std::unique_ptr<DriverProcess> client = StartDriver("client", "Guest");
    ASSERT_TRUE(Lists(*client, "Room:4:1:0:" + m_networkId, kBrowseLimit)) << "the client did not list the session";
    ASSERT_EQ(Field(State(*client), "level"), "0") << "the client left the intro before joining";

    const std::size_t hostMark = host->Lines().size();
    const std::size_t clientMark = client->Lines().size();
    // No ping reaches the client before it asked to join.
    const auto joinAsked = std::chrono::steady_clock::now();
    ASSERT_EQ(client->Lua("return Driver.Join('Guest')"), "true");
    const std::string clientId = Field(State(*client), "local");
    EXPECT_GT(std::stoul(clientId), std::stoul(hostId));
    host->WaitFor([&](const std::string& line) { return line.rfind("event 4 id=" + clientId, 0) == 0; },
                  kFollowLimit, hostMark);
    EXPECT_EQ(EventKinds(*host, hostMark), (std::vector<int>{2, 4}));
    std::vector<int> clientKinds = EventKinds(*client, clientMark);
    EXPECT_EQ(clientKinds, (std::vector<int>{4, 3, 1, 4})) << "the join as the client's hooks saw it";
    EXPECT_TRUE(client->WaitForPrefix("event 3 value=0", milliseconds(0), clientMark));

    // The client follows the host to the title level, built as a client's.
    ASSERT_TRUE(client->WaitForPrefix("level 1 ", kLevelLimit, clientMark)) << "the client did not follow";
    const std::string hostState = State(*host);
    // A copy joins its layer at the layer's next update, so it is listed a
    // frame after it is counted.
    std::string clientState = StateWhen(
        *client, [](const std::string& s) { return Field(s, "copies") == "1" && !Field(s, "dots").empty(); },
        kFollowLimit);
    EXPECT_EQ(Field(clientState, "players"), Field(hostState, "players"));
    EXPECT_EQ(Field(hostState, "players"), hostId + ":Host:1," + clientId + ":Guest:0");
    EXPECT_EQ(Field(hostState, "net") + Field(hostState, "server"), "11");
    EXPECT_EQ(Field(clientState, "net") + Field(clientState, "server"), "10");
    EXPECT_NE(Field(hostState, "colliders"), "0");
    EXPECT_NE(Field(hostState, "bodies"), "0");
    EXPECT_EQ(Field(clientState, "colliders"), "0");
    EXPECT_EQ(Field(clientState, "bodies"), "0");
    EXPECT_EQ(Field(clientState, "objects"), Field(hostState, "objects"));
    EXPECT_EQ(Identities(clientState), Identities(hostState)) << "the snapshot";

    // Three objects of the client's player, moved, one removed.
    EXPECT_EQ(host->Lua("return Driver.AddDot(" + clientId + ", 100, 100), Driver.AddDot(" + clientId +
                        ", 200, 100), Driver.AddDot(" + clientId + ", 300, 100)"),
              "true|true|true");
    EXPECT_EQ(host->Lua("return Driver.MoveDots(10, 5)"), "4");
    std::string hostMoved = State(*host);
    EXPECT_EQ(Dots(hostMoved).size(), 4u);
    clientState = StateWhen(*client, [&](const std::string& s) { return CopiesFollow(hostMoved, s); }, kFollowLimit);
    EXPECT_TRUE(CopiesFollow(hostMoved, clientState)) << hostMoved << "\n" << clientState;
    for (const auto& [identity, dot] : Dots(hostMoved)) {
        EXPECT_EQ(dot.layer, "1");
        EXPECT_TRUE(identity.rfind(clientId + ".", 0) == 0 || identity.rfind(hostId + ".", 0) == 0) << identity;
    }
    EXPECT_EQ(host->Lua("return Driver.RemoveDot(2)"), "true");
    hostMoved = State(*host);
    EXPECT_EQ(Dots(hostMoved).size(), 3u);
    clientState = StateWhen(*client, [&](const std::string& s) { return CopiesFollow(hostMoved, s); }, kFollowLimit);
    EXPECT_TRUE(CopiesFollow(hostMoved, clientState)) << hostMoved << "\n" << clientState;

    // A key held on the client reaches its object on the host, not the host's own.
    ASSERT_TRUE(client->Ask("key " + std::to_string(kHeldKeyCode) + " 1"));
    const std::string keysHeld = "return Driver.DotKeyHeld(2, " + std::to_string(kHeldKeyId) + "), Driver.DotKeyHeld(1, " +
                                 std::to_string(kHeldKeyId) + ")";
    std::optional<std::string> keys = host->Lua(keysHeld);
    for (int i = 0; i < 60 && keys != "true|false"; ++i) {
        std::this_thread::sleep_for(milliseconds(10));
        keys = host->Lua(keysHeld);
    }
    EXPECT_EQ(keys, "true|false");
    ASSERT_TRUE(client->Ask("key " + std::to_string(kHeldKeyCode) + " 0"));

    // Texts to all, echoed; the ping.
    std::size_t hostTexts = host->Lines().size();
    std::size_t clientTexts = client->Lines().size();
    EXPECT_EQ(host->Lua("return Driver.Net():SendTextMessage(true, 'hello', true)"), "true");
    EXPECT_EQ(client->Lua("return Driver.Net():SendTextMessage(true, 'hi', true)"), "true");
    for (const auto& [driver, mark] : {std::pair{host.get(), hostTexts}, std::pair{client.get(), clientTexts}}) {
        EXPECT_TRUE(driver->WaitForPrefix("event 6 from=" + hostId + " text=hello", kFollowLimit, mark));
        EXPECT_TRUE(driver->WaitForPrefix("event 6 from=" + clientId + " text=hi", kFollowLimit, mark));
    }
    std::optional<std::string> ping;
    for (int i = 0; i < 100 && (!ping || std::atof(ping->c_str()) <= 0.0); ++i) {
        std::this_thread::sleep_for(milliseconds(10));
        ping = host->Lua("return Driver.Player(" + clientId + "):GetPingTime()");
    }
    const std::chrono::duration<double, std::milli> sinceTheJoin = std::chrono::steady_clock::now() - joinAsked;
    ASSERT_TRUE(ping.has_value());
    EXPECT_GT(std::atof(ping->c_str()), 0.0);
    EXPECT_LE(std::atof(ping->c_str()), sinceTheJoin.count()) << "one round trip, in milliseconds";

    // A hostile peer floods the host while they play.
    // The host's memory over as long a time of play without the flood, to
    // compare.
    const long residentIdle = host->ResidentKiB();
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(milliseconds(20));
        Pump({host.get(), client.get()});
    }
    const std::string before = State(*host);
    const long residentBefore = host->ResidentKiB();
    const netdriver::FloodCount flood = netdriver::Flood(
        {static_cast<std::uint16_t>(std::stoul(Field(before, "port"))), static_cast<std::uint32_t>(std::stoul(hostId)),
         static_cast<std::uint32_t>(std::stoul(clientId))},
        milliseconds(2000), 100, [&] { Pump({host.get(), client.get()}); });
    std::printf("flood: %zu datagrams, %zu connections, %zu stream messages\n", flood.datagrams, flood.connections,
                flood.streamMessages);
    EXPECT_EQ(flood.connections, 100u);
    const std::string after = State(*host);
    ASSERT_FALSE(after.empty()) << "the host did not answer after the flood";
    const long growth = host->ResidentKiB() - residentBefore;
    std::printf("host memory: %ld KiB before, grew by %ld KiB (by %ld KiB in as long without the flood)\n",
                residentBefore, growth, residentBefore - residentIdle);
    EXPECT_LT(growth, kFloodGrowthLimitKiB);
    for (const char* field : {"level", "net", "server", "local", "players", "groups"}) {
        EXPECT_EQ(Field(after, field), Field(before, field)) << field;
    }
    EXPECT_EQ(Identities(after), Identities(before));
    EXPECT_EQ(host->Lua("return Driver.MoveDots(-30, 0)"), "3");
    hostMoved = State(*host);
    clientState = StateWhen(*client, [&](const std::string& s) { return CopiesFollow(hostMoved, s); }, kFollowLimit);
    EXPECT_TRUE(CopiesFollow(hostMoved, clientState)) << "the client stopped playing\n" << hostMoved << "\n" << clientState;
    EXPECT_EQ(Field(clientState, "players"), Field(after, "players"));

    // The client is killed: the host plays on alone, announces, takes a new client.
    hostTexts = host->Lines().size();
    client->Kill();
    EXPECT_TRUE(host->WaitForPrefix("event 5 id=" + clientId, kPeerLossLimit, hostTexts));
    EXPECT_EQ(Field(StateWhen(*host, [&](const std::string& s) { return Field(s, "players") == hostId + ":Host:1"; },
                              kFollowLimit),
                    "players"),
              hostId + ":Host:1");
    std::unique_ptr<DriverProcess> second = StartDriver("client", "Guest2");
    ASSERT_TRUE(Lists(*second, "Room:4:1:0:" + m_networkId, kBrowseLimit)) << "the host stopped announcing";
    ASSERT_EQ(second->Lua("return Driver.Join('Guest2')"), "true");
    const std::string secondId = Field(State(*second), "local");
    EXPECT_GT(std::stoul(secondId), std::stoul(clientId));
    ASSERT_TRUE(second->WaitForPrefix("level 1 ", kLevelLimit)) << "the second client did not follow";
    clientState = StateWhen(*second, [&](const std::string& s) { return Dots(s).size() == 3; }, kFollowLimit);
    EXPECT_EQ(Dots(clientState).size(), 3u);

    // The host is killed: the client's session ends once, its copies go, and
    // it finds the next host.
    clientTexts = second->Lines().size();
    host->Kill();
    EXPECT_TRUE(second->WaitForPrefix("event 8", kPeerLossLimit, clientTexts));
    clientState = StateWhen(*second, [](const std::string& s) { return Field(s, "dots").empty(); }, kFollowLimit);
    EXPECT_EQ(EventKinds(*second, clientTexts), (std::vector<int>{5, 8}));
    EXPECT_EQ(Field(clientState, "dots"), "");
    EXPECT_EQ(Field(clientState, "copies"), "0");
    EXPECT_EQ(Field(clientState, "players"), "");
    EXPECT_EQ(Field(clientState, "net"), "0");
    std::unique_ptr<DriverProcess> nextHost = StartDriver("host", "Host2", "Room2");
    EXPECT_TRUE(Lists(*second, "Room2:4:1:0:" + m_networkId, kBrowseLimit, clientTexts))
        << "the client did not find the new host";
    EXPECT_EQ(EventKinds(*second, clientTexts), (std::vector<int>{5, 8}));
    EXPECT_EQ(second->Quit(), 0) << "the client did not end cleanly";
    EXPECT_EQ(nextHost->Quit(), 0) << "the new host did not end cleanly";
}

}  // namespace
