#include "Network_StreamStateProbe.h"

#include <gtest/gtest.h>

#include <thread>
#include <tuple>

namespace {

using Network::StreamState;
using testsupport::Bytes;
using testsupport::FramedMessage;
using testsupport::FramedMessageWithLength;
using Outcome = Network::StreamState::Outcome;

Bytes Joined(const std::vector<Bytes>& parts) {
    Bytes joined;
    for (const Bytes& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

TEST(StreamState, MessagesCutAtEveryBytePositionComeOutWholeAndInOrder) {
    StreamProbe probe;
    const std::vector<Bytes> messages{FramedMessage(1, ""), FramedMessage(2, "abc"),
                                      FramedMessage(3, std::string(300, 'x'))};
    const Bytes stream = Joined(messages);
    for (std::size_t cut = 1; cut < stream.size(); ++cut) {
        ASSERT_EQ(probe.Feed(std::span(stream).first(cut)), Outcome::Open) << cut;
        // Whatever lay wholly before the cut is out already.
        std::size_t whole = 0;
        for (std::size_t end = 0; whole < messages.size() && end + messages[whole].size() <= cut; ++whole) {
            end += messages[whole].size();
        }
        ASSERT_EQ(probe.TakeMessages(), std::vector<Bytes>(messages.begin(), messages.begin() + whole)) << cut;
        ASSERT_EQ(probe.Feed(std::span(stream).subspan(cut)), Outcome::Open) << cut;
        ASSERT_EQ(probe.TakeMessages(), std::vector<Bytes>(messages.begin() + whole, messages.end())) << cut;
        ASSERT_EQ(probe.state.GetHeldBytes(), 0u);
    }
}

TEST(StreamState, TwoMessagesInOneReadGiveTwoAndOneOverThreeReadsGivesOneAfterTheThird) {
    StreamProbe probe;
    const Bytes first = FramedMessage(4, "one"), second = FramedMessage(5, "two");
    EXPECT_EQ(probe.Feed(Joined({first, second})), Outcome::Open);
    EXPECT_EQ(probe.TakeMessages(), (std::vector<Bytes>{first, second}));

    const Bytes long_ = FramedMessage(6, std::string(20, 'z'));
    for (const auto& [from, to, out] : {std::tuple{0, 5, 0}, std::tuple{5, 17, 0}, std::tuple{17, 28, 1}}) {
        EXPECT_EQ(probe.Feed(std::span(long_).subspan(from, to - from)), Outcome::Open);
        EXPECT_EQ(probe.TakeMessages().size(), static_cast<std::size_t>(out)) << to;
    }
}

TEST(StreamState, AForbiddenLengthClosesWithoutAllocatingAboveWhatArrived) {
    for (const std::uint32_t length : {0u, 7u, (1u << 20) + 1, 0xFFFFFFFFu}) {
        StreamProbe probe;
        const Bytes before = FramedMessage(1, "ok");
        const Bytes bad = FramedMessageWithLength(2, length, Bytes(64, 1));
        EXPECT_EQ(probe.Feed(Joined({before, bad})), Outcome::Closed) << length;
        EXPECT_EQ(probe.TakeMessages(), std::vector<Bytes>{before}) << length;
        EXPECT_LE(probe.LargestMessageAllocation(), before.size()) << length;
        EXPECT_TRUE(probe.state.IsClosed());
        EXPECT_EQ(probe.state.GetHeldBytes(), 0u);
        EXPECT_EQ(probe.Feed(FramedMessage(3, "")), Outcome::Closed) << "stays closed";
        EXPECT_TRUE(probe.TakeMessages().empty());
    }
}

TEST(StreamState, AMessageOfOneMebibyteArrivesWhole) {
    StreamProbe probe;
    Bytes payload(Network::kMaxPayloadLength);
    for (std::size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<std::uint8_t>(i * 31 + i / 256);
    }
    const Bytes message = FramedMessage(8, payload);
    std::thread writer([&] { probe.pair.far.Write(message, std::chrono::seconds(5)); });
    std::vector<Bytes> received;
    testsupport::WaitUntil(
        [&] {
            if (os::WaitForSocket(probe.pair.near.GetHandle(), os::kPollReadable, 0)) {
                EXPECT_EQ(probe.state.Receive(probe.pair.near.GetHandle(), probe.messages), Outcome::Open);
            }
            received = probe.TakeMessages();
            return !received.empty();
        },
        std::chrono::seconds(5));
    writer.join();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_TRUE(received[0] == message);
    EXPECT_EQ(probe.LargestMessageAllocation(), Network::kMaxMessageLength);
}

TEST(StreamState, APeerThatClosesOrResetsEndsTheStreamKeepingWholeMessages) {
    for (const bool reset : {false, true}) {
        StreamProbe probe;
        const Bytes whole = FramedMessage(1, "whole");
        const Bytes half = FramedMessage(2, "half a message");
        ASSERT_EQ(probe.Feed(Joined({whole, Bytes(half.begin(), half.begin() + 11)})), Outcome::Open);
        EXPECT_EQ(probe.state.GetHeldBytes(), 11u);
        if (reset) {
            // Unread bytes at the far end make its close a reset.
            ASSERT_TRUE(probe.pair.near.Write(Bytes(10, 0)));
            ASSERT_TRUE(os::WaitForSocket(probe.pair.far.GetHandle(), os::kPollReadable, 2000));
        }
        probe.pair.far.Close();
        ASSERT_TRUE(os::WaitForSocket(probe.pair.near.GetHandle(), os::kPollReadable, 2000));
        EXPECT_EQ(probe.state.Receive(probe.pair.near.GetHandle(), probe.messages), Outcome::Closed) << reset;
        EXPECT_EQ(probe.TakeMessages(), std::vector<Bytes>{whole});
        EXPECT_EQ(probe.state.GetHeldBytes(), 0u);
    }
}

TEST(StreamState, ANewConnectionOnTheSameDescriptorNumberStartsClean) {
    StreamProbe old;
    const Bytes message = FramedMessage(9, "fresh");
    ASSERT_EQ(old.Feed(std::span(message).first(6)), Outcome::Open);
    testsupport::WireListener listener;
    testsupport::WirePeer far = testsupport::WirePeer::ConnectStream(listener.GetPort());
    const os::SocketHandle number = old.pair.near.GetHandle();
    old.pair.near.Close();
    testsupport::WirePeer near = listener.Accept();
    ASSERT_EQ(near.GetHandle(), number);
    // The record of the new connection brings its own state.
    StreamState state;
    std::vector<Network::RawMessage> messages;
    ASSERT_TRUE(far.Write(message));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return os::PendingBytes(near.GetHandle()) == 13; },
                                       std::chrono::seconds(2)));
    EXPECT_EQ(state.Receive(near.GetHandle(), messages), Outcome::Open);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(Bytes(messages[0].bytes, messages[0].bytes + messages[0].length), message);
    Network::FreeMessage(messages[0]);
}

}  // namespace
