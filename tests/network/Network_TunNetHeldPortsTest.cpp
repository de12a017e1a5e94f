// Hosting on port 0 and joining while other programs hold datagram ports:
// every odd port of the ephemeral range, which the system gives streams
// bound to port 0, held on 127.0.0.1. These tests run alone
// (cmake/TestGroups.cmake): the holds are machine-wide.
#include "network/Network_Session.h"
#include "network/Network_TunNetTestHooks.h"
#include "os/OS_Error.h"
#include "support/Network_FrontEndFixture.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

using testsupport::WirePeer;

// Every odd port of the ephemeral range held as a datagram socket on
// 127.0.0.1 while it lives (those some other socket has already stay its:
// they are no freer for the code under test).
class OddPortHold {
public:
    // Empty once every odd port is held, here or already elsewhere;
    // otherwise what could not be done: the test would not test what it names.
    std::string Take() {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        if (!(std::ifstream("/proc/sys/net/ipv4/ip_local_port_range") >> low >> high) || low > high || high > 65535) {
            return "cannot read the ephemeral port range";
        }
        const std::uint32_t oddPorts = (high + 1) / 2 - low / 2;
        const rlim_t needed = oddPorts + 256;
        if (!AllowDescriptors(needed)) {
            return "may not open the " + std::to_string(needed) + " descriptors it takes to hold every odd port";
        }
        m_held.reserve(oddPorts);
        for (std::uint32_t port = low | 1; port <= high; port += 2) {
            WirePeer holder = WirePeer::OpenDatagram(static_cast<std::uint16_t>(port));
            if (holder.IsOpen()) {
                m_held.push_back(std::move(holder));
            } else if (!os::IsAddressInUse(os::GetLastError())) {
                std::string failure = "held " + std::to_string(m_held.size()) + " of " + std::to_string(oddPorts) +
                                      " odd ports, then could not hold port " + std::to_string(port) + ": " +
                                      os::ErrorText(os::GetLastError());
                // The rest of the test needs descriptors of its own.
                m_held.clear();
                return failure;
            }
        }
        return {};
    }

private:
    static bool AllowDescriptors(rlim_t count) {
        rlimit limit{};
        if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_max < count) {
            return false;
        }
        // RLIM_INFINITY is the largest value.
        limit.rlim_cur = std::max(limit.rlim_cur, count);
        return setrlimit(RLIMIT_NOFILE, &limit) == 0;
    }

    std::vector<WirePeer> m_held;
};

class HeldPortsTest : public testsupport::FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        if (const std::string failure = m_hold.Take(); !failure.empty()) {
            GTEST_SKIP() << "cannot hold the odd ephemeral ports: " << failure;
        }
    }
    // The local player's port, which the stream and the datagram socket share.
    void ExpectOnePortServes(std::int32_t streamSocket, std::int32_t datagramSocket) {
        const std::uint16_t port = Net().GetLocalPlayer()->GetAddress().GetPort();
        EXPECT_NE(port, 0);
        EXPECT_EQ(SocketPort(streamSocket), port);
        EXPECT_EQ(SocketPort(datagramSocket), port);
    }

private:
    std::uint16_t SocketPort(std::int32_t id) {
        Network::Tun_Address address;
        Tundra::TunNetTestAccess::GetSession(Net())->GetLocalAddress(id, address);
        return address.GetPort();
    }

    OddPortHold m_hold;
};

TEST_F(HeldPortsTest, AHostOnPortZeroTakesAPortFreeForBothSockets) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    ExpectOnePortServes(Tundra::kHostStreamSocket, Tundra::kHostDatagramSocket);
}

TEST_F(HeldPortsTest, AJoinTakesAPortFreeForBothSockets) {
    testsupport::WireHost host;
    host.AnswerJoin({testsupport::FramedMessage(2, testsupport::U32Payload(7))});
    ASSERT_TRUE(testsupport::StartClient(Net()));
    ASSERT_TRUE(Net().JoinSession("Ann", host.Address(), ""));
    ExpectOnePortServes(Tundra::kClientStreamSocket, Tundra::kClientDatagramSocket);
}

}  // namespace
