#include "os/OS_Error.h"
#include "os/OS_NetworkInterfaces.h"
#include "os/OS_Socket.h"
#include "os/OS_SocketPoll.h"
#include "os/OS_WakeUp.h"
#include "support/MovingClock.h"
#include "support/Network_WirePeer.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using testsupport::Bytes;
using testsupport::WirePeer;

// A port nothing listens on, for as long as the returned stream stays bound.
WirePeer ClosedPort() {
    WirePeer bound(os::OpenSocket(os::SocketType::Stream));
    EXPECT_TRUE(os::BindSocket(bound.GetHandle(), os::MakeSocketAddress(os::kLoopbackIPv4, 0)));
    return bound;
}

TEST(SocketAddress, IsTheSixteenPlatformBytesBuiltFieldByField) {
    const os::SocketAddress address = os::MakeSocketAddress(os::kLoopbackIPv4, 3000);
    const os::SocketAddress expected{0x02, 0x00, 0x0B, 0xB8, 0x7F, 0x00, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(address, expected);
    struct Case {
        std::uint32_t ipv4;
        std::uint16_t port;
    };
    for (const Case c : {Case{0, 0}, Case{0xC0A80114, 40000}, Case{0xFFFFFFFF, 65535}, Case{0x0A000001, 1}}) {
        const os::SocketAddress made = os::MakeSocketAddress(c.ipv4, c.port);
        EXPECT_EQ(os::SocketAddressIPv4(made), c.ipv4);
        EXPECT_EQ(os::SocketAddressPort(made), c.port);
    }
}

TEST(SocketAddress, ResolvesDottedTextsAndNamesAndFormatsDotted) {
    struct Case {
        const char* text;
        bool resolves;
        std::uint32_t ipv4;
    };
    for (const Case c : {Case{"127.0.0.1", true, 0x7F000001}, Case{"192.168.1.20", true, 0xC0A80114},
                         Case{"localhost", true, 0x7F000001}, Case{"no-such-host.invalid", false, 0},
                         Case{"", false, 0}, Case{nullptr, false, 0}}) {
        std::uint32_t ipv4 = 0x01020304;
        EXPECT_EQ(os::ResolveIPv4(c.text, &ipv4), c.resolves) << (c.text ? c.text : "null");
        EXPECT_EQ(ipv4, c.resolves ? c.ipv4 : 0x01020304u) << (c.text ? c.text : "null");
    }
    EXPECT_EQ(os::FormatIPv4(0xC0A80114), "192.168.1.20");
    EXPECT_EQ(os::FormatIPv4(0), "0.0.0.0");
}

TEST(SocketOptions, TheSystemsOptionSetsOpenUnprivileged) {
    struct Case {
        os::SocketType type;
        std::uint32_t options;
    };
    const std::uint32_t everyOptionButDebug = 0xFF & ~os::kSocketOptionDebug;
    for (const Case c : {Case{os::SocketType::Datagram, 0x51}, Case{os::SocketType::Stream, 64},
                         Case{os::SocketType::Stream, 0}, Case{os::SocketType::Stream, everyOptionButDebug},
                         Case{os::SocketType::Datagram, 0x80 | 0x51}}) {
        WirePeer socket(os::OpenSocket(c.type));
        ASSERT_TRUE(socket.IsOpen());
        EXPECT_TRUE(os::ApplySocketOptions(socket.GetHandle(), c.type, c.options)) << c.options;
        const bool nonBlocking = (fcntl(socket.GetHandle(), F_GETFL) & O_NONBLOCK) != 0;
        EXPECT_EQ(nonBlocking, (c.options & os::kSocketOptionNonBlocking) != 0) << c.options;
        EXPECT_TRUE((fcntl(socket.GetHandle(), F_GETFD) & FD_CLOEXEC) != 0);
    }
    // Stream options fail on a datagram socket, and the first failure is reported.
    WirePeer datagram(os::OpenSocket(os::SocketType::Datagram));
    EXPECT_FALSE(os::ApplySocketOptions(datagram.GetHandle(), os::SocketType::Datagram, os::kSocketOptionNoDelay));
}

TEST(SocketCalls, OnABadHandleFailWithTheSystemsCode) {
    os::SocketAddress address{};
    std::uint8_t byte = 0;
    EXPECT_FALSE(os::BindSocket(-1, os::MakeSocketAddress(os::kLoopbackIPv4, 0)));
    EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(EBADF));
    EXPECT_FALSE(os::GetSocketLocalAddress(-1, &address));
    EXPECT_EQ(os::SendStream(-1, &byte, 1), -1);
    EXPECT_EQ(os::ReceiveStream(-1, &byte, 1), -1);
    EXPECT_EQ(os::PendingBytes(-1), -1);
    EXPECT_EQ(os::AcceptSocket(-1, &address, false), os::kInvalidSocket);
    EXPECT_FALSE(os::IsListeningSocket(-1));
}

TEST(SocketListen, ReportsThePortOfAPortZeroBindAndAcceptsAsAsked) {
    testsupport::WireListener listener;
    ASSERT_TRUE(listener.IsOpen());
    EXPECT_NE(listener.GetPort(), 0);
    WirePeer datagram = WirePeer::OpenDatagram();
    EXPECT_FALSE(os::IsListeningSocket(datagram.GetHandle()));
    for (const bool nonBlocking : {false, true}) {
        WirePeer client = WirePeer::ConnectStream(listener.GetPort());
        ASSERT_TRUE(client.IsOpen());
        WirePeer accepted = listener.Accept(testsupport::kWireWait, nonBlocking);
        ASSERT_TRUE(accepted.IsOpen());
        EXPECT_EQ((fcntl(accepted.GetHandle(), F_GETFL) & O_NONBLOCK) != 0, nonBlocking);
        EXPECT_TRUE((fcntl(accepted.GetHandle(), F_GETFD) & FD_CLOEXEC) != 0);
        os::SocketAddress local{};
        ASSERT_TRUE(os::GetSocketLocalAddress(accepted.GetHandle(), &local));
        EXPECT_EQ(os::SocketAddressPort(local), listener.GetPort());
        EXPECT_EQ(os::SocketAddressIPv4(local), os::kLoopbackIPv4);
    }
}

TEST(SocketConnect, ToAClosedPortIsRefusedAsynchronouslyAndWithinTheLimit) {
    const WirePeer closed = ClosedPort();
    const os::SocketAddress destination = os::MakeSocketAddress(os::kLoopbackIPv4, closed.GetLocalPort());

    WirePeer async(os::OpenSocket(os::SocketType::Stream));
    ASSERT_TRUE(os::ApplySocketOptions(async.GetHandle(), os::SocketType::Stream, os::kSocketOptionNonBlocking));
    if (!os::StartConnect(async.GetHandle(), destination) && os::GetLastError() == os::kSocketWouldBlock) {
        os::PollEntry entry{async.GetHandle(), os::kPollWritable, 0};
        ASSERT_EQ(os::PollSockets(&entry, 1, nullptr, 2000, nullptr), 1);
        EXPECT_NE(entry.returned & os::kPollWritable, 0);
        EXPECT_FALSE(os::FinishConnect(async.GetHandle()));
    }
    EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(ECONNREFUSED));

    WirePeer blocking(os::OpenSocket(os::SocketType::Stream));
    EXPECT_FALSE(os::ConnectWithin(blocking.GetHandle(), destination, 2000));
    EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(ECONNREFUSED));
    EXPECT_EQ(fcntl(blocking.GetHandle(), F_GETFL) & O_NONBLOCK, 0);  // its mode kept
}

TEST(SocketConnect, ToAListenerSucceedsBothWays) {
    testsupport::WireListener listener;
    const os::SocketAddress destination = os::MakeSocketAddress(os::kLoopbackIPv4, listener.GetPort());
    WirePeer blocking(os::OpenSocket(os::SocketType::Stream));
    EXPECT_TRUE(os::ConnectWithin(blocking.GetHandle(), destination, 2000));

    WirePeer async(os::OpenSocket(os::SocketType::Stream));
    ASSERT_TRUE(os::SetSocketNonBlocking(async.GetHandle(), true));
    if (!os::StartConnect(async.GetHandle(), destination)) {
        ASSERT_EQ(os::GetLastError(), os::kSocketWouldBlock);
        ASSERT_TRUE(os::WaitForSocket(async.GetHandle(), os::kPollWritable, 2000));
        EXPECT_TRUE(os::FinishConnect(async.GetHandle()));
    }
    EXPECT_TRUE(listener.Accept().IsOpen());
    EXPECT_TRUE(listener.Accept().IsOpen());
}

TEST(SocketSend, ToAResetPeerFailsAndTheProcessLives) {
    testsupport::WirePair pair = testsupport::ConnectedPair();
    ASSERT_TRUE(pair.near.IsOpen() && pair.far.IsOpen());
    const Bytes bytes(100, 7);
    ASSERT_TRUE(pair.far.Write(bytes));
    ASSERT_TRUE(os::WaitForSocket(pair.near.GetHandle(), os::kPollReadable, 2000));
    pair.near.Close();  // with unread bytes: the peer is reset
    std::int64_t sent = 0;
    for (int attempt = 0; attempt < 200 && sent >= 0; ++attempt) {
        sent = os::SendStream(pair.far.GetHandle(), bytes.data(), bytes.size());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(sent, -1);
    EXPECT_EQ(os::GetLastError(), os::kSocketConnectionReset);
    std::uint8_t byte = 0;
    EXPECT_LE(os::ReceiveStream(pair.far.GetHandle(), &byte, 1), 0);
}

TEST(SocketReceive, ReportsWouldBlockPendingBytesAndAClosedPeer) {
    testsupport::WirePair pair = testsupport::ConnectedPair();
    std::uint8_t buffer[16] = {};
    EXPECT_EQ(os::ReceiveStream(pair.near.GetHandle(), buffer, sizeof buffer), -1);
    EXPECT_EQ(os::GetLastError(), os::kSocketWouldBlock);
    ASSERT_TRUE(pair.far.Write(Bytes{1, 2, 3}));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return os::PendingBytes(pair.near.GetHandle()) == 3; },
                                       std::chrono::seconds(2)));
    EXPECT_EQ(os::ReceiveStream(pair.near.GetHandle(), buffer, sizeof buffer), 3);
    pair.far.Close();
    ASSERT_TRUE(os::WaitForSocket(pair.near.GetHandle(), os::kPollReadable, 2000));
    EXPECT_EQ(os::PendingBytes(pair.near.GetHandle()), 0);
    EXPECT_EQ(os::ReceiveStream(pair.near.GetHandle(), buffer, sizeof buffer), 0);
}

TEST(SocketDatagram, EmptyAndLargestDatagramsArriveWholeWithTheirSource) {
    WirePeer receiver = WirePeer::OpenDatagram();
    WirePeer sender = WirePeer::OpenDatagram();
    ASSERT_TRUE(receiver.IsOpen() && sender.IsOpen());
    for (const std::size_t size : {std::size_t{0}, std::size_t{3}, std::size_t{65507}}) {
        Bytes sent(size);
        for (std::size_t i = 0; i < size; ++i) {
            sent[i] = static_cast<std::uint8_t>(i * 7);
        }
        ASSERT_TRUE(sender.SendDatagram(receiver.GetLocalPort(), sent)) << size;
        ASSERT_TRUE(os::WaitForSocket(receiver.GetHandle(), os::kPollReadable, 2000)) << size;
        EXPECT_EQ(os::PendingBytes(receiver.GetHandle()), static_cast<std::int64_t>(size));
        std::vector<std::uint8_t> buffer(os::kMaxDatagramSize);
        os::SocketAddress source{};
        const std::int64_t received = os::ReceiveDatagram(receiver.GetHandle(), buffer.data(), buffer.size(), &source);
        ASSERT_EQ(received, static_cast<std::int64_t>(size));
        buffer.resize(size);
        EXPECT_EQ(buffer, sent);
        EXPECT_EQ(os::SocketAddressPort(source), sender.GetLocalPort());
        EXPECT_EQ(os::SocketAddressIPv4(source), os::kLoopbackIPv4);
    }
    std::uint8_t byte = 0;
    EXPECT_EQ(os::ReceiveDatagram(receiver.GetHandle(), &byte, 1, nullptr), -1);
    EXPECT_EQ(os::GetLastError(), os::kSocketWouldBlock);
}

TEST(SocketPoll, WithoutLimitReturnsOnceTheWakeUpIsWritten) {
    os::WakeUp wakeUp;
    ASSERT_TRUE(wakeUp.IsValid());
    WirePeer idle = WirePeer::OpenDatagram();
    os::PollEntry entry{idle.GetHandle(), os::kPollReadable, 0};
    bool woken = false;
    // Signals given before the wait wake it at once, and only once.
    wakeUp.Signal();
    wakeUp.Signal();
    EXPECT_EQ(os::PollSockets(&entry, 1, &wakeUp, os::kPollNoTimeLimit, &woken), 0);
    EXPECT_TRUE(woken);
    EXPECT_EQ(os::PollSockets(&entry, 1, &wakeUp, 0, &woken), 0);
    EXPECT_FALSE(woken);

    std::thread signaller([&wakeUp] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        wakeUp.Signal();
    });
    EXPECT_EQ(os::PollSockets(&entry, 1, &wakeUp, os::kPollNoTimeLimit, &woken), 0);
    EXPECT_TRUE(woken);
    signaller.join();
}

TEST(SocketPoll, ReportsReadyEntriesAndSkipsInvalidOnes) {
    WirePeer receiver = WirePeer::OpenDatagram();
    WirePeer sender = WirePeer::OpenDatagram();
    ASSERT_TRUE(sender.SendDatagram(receiver.GetLocalPort(), Bytes{1}));
    std::vector<os::PollEntry> entries{{os::kInvalidSocket, os::kPollReadable, 9},
                                       {receiver.GetHandle(), os::kPollReadable, 0},
                                       {sender.GetHandle(), os::kPollReadable, 0}};
    EXPECT_EQ(os::PollSockets(entries.data(), entries.size(), nullptr, 2000, nullptr), 1);
    EXPECT_EQ(entries[0].returned, 0);
    EXPECT_EQ(entries[1].returned, os::kPollReadable);
    EXPECT_EQ(entries[2].returned, 0);
    EXPECT_EQ(os::PollSockets(&entries[2], 1, nullptr, 0, nullptr), 0);
}

TEST(NetworkInterfaces, ListTheLoopbackInterfaceAndTheHostHasAName) {
    const std::vector<os::NetworkInterface> interfaces = os::ListIPv4Interfaces();
    const auto loopback = std::find_if(interfaces.begin(), interfaces.end(),
                                       [](const os::NetworkInterface& found) { return found.loopback; });
    ASSERT_NE(loopback, interfaces.end());
    EXPECT_EQ(loopback->ipv4 >> 24, 127u);
    EXPECT_TRUE(loopback->up);
    EXPECT_FALSE(os::GetHostName().empty());
}

}  // namespace
