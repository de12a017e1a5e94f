#include "Network_SessionFixture.h"

namespace sessiontest {

std::uint16_t SessionTest::ClosedPort() {
    constexpr std::int32_t kHolder = 99;
    Network::Tun_Address held;
    if (!m_session->GetLocalAddress(kHolder, held)) {
        EXPECT_NE(m_session->OpenSocket(kHolder, 1, Loopback(0), 0, 0), nullptr);
        m_session->GetLocalAddress(kHolder, held);
    }
    return held.GetPort();
}

std::string PayloadOf(const testsupport::RecordedEvent& event) {
    return event.message.size() < 8 ? std::string() : std::string(event.message.begin() + 8, event.message.end());
}

void SessionTest::SetUp() { ASSERT_TRUE(m_session.Open()); }

void SessionTest::TearDown() {
    m_session->Close();
    EXPECT_EQ(m_session->GetThreadCount(), 0u);
}

void SessionTest::OpenListener(std::uint32_t serviceFlags) {
    ASSERT_NE(m_session->OpenSocket(2, 1, Loopback(0), serviceFlags, os::kSocketOptionNonBlocking), nullptr);
    ASSERT_TRUE(m_session->Listen(2, 70));
}

testsupport::WirePeer SessionTest::OpenClient(std::uint32_t serviceFlags) {
    testsupport::WireListener listener;
    EXPECT_NE(m_session->OpenSocket(3, 1, Loopback(0), serviceFlags, 0), nullptr);
    EXPECT_TRUE(m_session->Connect(3, Loopback(listener.GetPort())));
    return listener.Accept();
}

void SessionTest::OpenWithDatagramSocket(const std::function<bool(std::uint16_t port)>& openStream) {
    // The twin holds the port for datagrams until the session's own socket
    // takes it.
    testsupport::WirePeer twin = testsupport::DatagramTwin(openStream);
    ASSERT_TRUE(twin.IsOpen());
    const std::uint16_t port = twin.GetLocalPort();
    twin.Close();
    ASSERT_NE(m_session->OpenSocket(4, 2, Loopback(port), Network::kServiceByIoThread, os::kSocketOptionNonBlocking),
              nullptr);
}

testsupport::WirePeer SessionTest::ConnectToHost(std::optional<testsupport::WireListener>& host,
                                                 testsupport::WirePeer& accepted, std::uint32_t streamServiceFlags) {
    testsupport::WirePeer hostDatagrams = testsupport::DatagramTwin([&](std::uint16_t port) {
        host.emplace(port);
        return host->IsOpen();
    });
    OpenWithDatagramSocket([&](std::uint16_t port) {
        return m_session->OpenSocket(3, 1, Loopback(port), streamServiceFlags, 0) != nullptr;
    });
    EXPECT_TRUE(m_session->Connect(3, Loopback(host->GetPort())));
    accepted = host->Accept();
    return hostDatagrams;
}

std::uint32_t SessionTest::Queued() {
    std::uint32_t queued = 0;
    m_session->ProcessEvents(0, 0, nullptr, &queued);
    return queued;
}

}  // namespace sessiontest
