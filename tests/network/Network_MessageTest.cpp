#include "network/Network_Event.h"
#include "network/Network_Message.h"
#include "support/Network_WirePeer.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

using Network::RawMessage;
using testsupport::Bytes;

Bytes BytesOf(const RawMessage& message) { return Bytes(message.bytes, message.bytes + message.length); }

TEST(NetworkMessage, IsTypeThenLengthLittleEndianThenThePayload) {
    RawMessage message = Network::BuildMessage(7, "abc", 3);
    ASSERT_NE(message.bytes, nullptr);
    EXPECT_EQ(BytesOf(message), (Bytes{0x07, 0, 0, 0, 0x0B, 0, 0, 0, 'a', 'b', 'c'}));
    Network::FreeMessage(message);
    EXPECT_EQ(message.bytes, nullptr);
    EXPECT_EQ(message.length, 0u);

    RawMessage empty = Network::BuildMessage(0x01020304, nullptr, 0);
    EXPECT_EQ(BytesOf(empty), (Bytes{4, 3, 2, 1, 8, 0, 0, 0}));
    const Network::MessageHeader header = Network::ReadMessageHeader(empty.bytes);
    EXPECT_EQ(header.type, 0x01020304u);
    EXPECT_EQ(header.totalLength, 8u);
    Network::FreeMessage(empty);
}

TEST(NetworkMessage, LengthsRunFromEightBytesToOneMebibyte) {
    struct Case {
        std::uint32_t length;
        bool valid;
    };
    for (const Case c : {Case{0, false}, Case{7, false}, Case{8, true}, Case{1u << 20, true},
                         Case{(1u << 20) + 1, false}, Case{0xFFFFFFFF, false}}) {
        EXPECT_EQ(Network::IsValidMessageLength(c.length), c.valid) << c.length;
        RawMessage message = Network::AllocateMessage(c.length);
        EXPECT_EQ(message.bytes != nullptr, c.valid) << c.length;
        EXPECT_EQ(message.length, c.valid ? c.length : 0u);
        Network::FreeMessage(message);
    }
    const Bytes payload(Network::kMaxPayloadLength + 1, 1);
    EXPECT_EQ(Network::BuildMessage(1, payload.data(), Network::kMaxPayloadLength + 1).bytes, nullptr);
    EXPECT_EQ(Network::BuildMessage(1, nullptr, 4).bytes, nullptr);
    RawMessage largest = Network::BuildMessage(1, payload.data(), Network::kMaxPayloadLength);
    EXPECT_EQ(largest.length, Network::kMaxMessageLength);
    Network::FreeMessage(largest);
}

TEST(NetworkMessage, ADatagramGivesItsMessageOrIsDropped) {
    struct Case {
        Bytes datagram;
        std::uint32_t taken;  // 0: dropped
    };
    const Bytes abc{'a', 'b', 'c'};
    const std::vector<Case> cases{
        {{}, 0},
        {{1, 0, 0}, 0},                                                   // no header
        {testsupport::FramedMessage(5, ""), 8},                          // empty payload
        {testsupport::FramedMessage(5, "abc"), 11},                      // exact
        {testsupport::FramedMessageWithLength(5, 9, abc), 9},            // longer than its length
        {testsupport::FramedMessageWithLength(5, 12, abc), 0},           // shorter than its length
        {testsupport::FramedMessageWithLength(5, 7, abc), 0},            // length below a header
        {testsupport::FramedMessageWithLength(5, 0, abc), 0},
        {testsupport::FramedMessageWithLength(5, 0xFFFFFFFF, abc), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Network::DatagramMessageLength(c.datagram.data(), c.datagram.size()), c.taken) << c.datagram.size();
    }
    Bytes large((1u << 20) + 16, 0);
    const Bytes header = testsupport::FramedMessageWithLength(1, (1u << 20) + 1, {});
    std::copy(header.begin(), header.end(), large.begin());
    EXPECT_EQ(Network::DatagramMessageLength(large.data(), large.size()), 0u);
}

// Handlers see the event; what they do with the message is the test's choice.
std::vector<Network::Tun_Event_Kind> g_seen;
RawMessage g_kept;

bool KeepMessage(Network::Tun_Event* event) {
    g_seen.push_back(event->kind);
    g_kept = event->GetMessage();
    return false;
}

bool TakeNothing(Network::Tun_Event* event) {
    g_seen.push_back(event->kind);
    return true;
}

bool Refuse(Network::Tun_Event* event) {
    g_seen.push_back(event->kind);
    return false;
}

Network::Tun_Event MessageEvent(Network::Tun_PacketHandler handler, std::string_view payload) {
    Network::Tun_Event event(Network::Tun_Event_Kind::MessageReceived, nullptr, 3, Network::Tun_Address());
    event.callback = handler;
    event.AttachMessage(Network::BuildMessage(9, payload.data(), static_cast<std::uint32_t>(payload.size())));
    return event;
}

TEST(NetworkEvent, TakesTypeAndPayloadFromItsMessage) {
    Network::Tun_Event event = MessageEvent(nullptr, "hello");
    EXPECT_EQ(event.messageType, 9u);
    EXPECT_EQ(event.rawLength, 13u);
    EXPECT_EQ(event.payloadLength, 5u);
    EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(event.payload), 5), "hello");
    RawMessage message = event.DetachMessage();
    EXPECT_EQ(event.rawMessage, nullptr);
    EXPECT_EQ(event.payload, nullptr);
    EXPECT_EQ(event.messageType, Network::kNoMessageType);
    Network::FreeMessage(message);

    Network::Tun_Event empty = MessageEvent(nullptr, "");
    EXPECT_EQ(empty.payloadLength, 0u);
    EXPECT_EQ(empty.rawLength, 8u);
    Network::Tun_EventList list;
    list.push_back(std::move(empty));
    Network::FreeEventList(list);
    EXPECT_TRUE(list.empty());
}

TEST(NetworkEvent, AHandlerReturningFalseKeepsItsMessage) {
    g_seen.clear();
    Network::Tun_EventList events;
    events.push_back(MessageEvent(&KeepMessage, "kept"));
    events.push_back(MessageEvent(&TakeNothing, "freed"));
    events.push_back(MessageEvent(nullptr, "no handler"));
    Network::Tun_Event closed(Network::Tun_Event_Kind::SocketClosed, nullptr, 3, Network::Tun_Address());
    closed.callback = &Refuse;  // its answer does not matter
    events.push_back(closed);
    Network::DeliverEvents(events);
    using Kind = Network::Tun_Event_Kind;
    EXPECT_EQ(g_seen, (std::vector<Kind>{Kind::MessageReceived, Kind::MessageReceived, Kind::SocketClosed}));
    for (const Network::Tun_Event& event : events) {
        EXPECT_EQ(event.rawMessage, nullptr);
    }
    Network::FreeEventList(events);  // must not free the kept one again
    ASSERT_NE(g_kept.bytes, nullptr);
    EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(g_kept.bytes) + 8, 4), "kept");
    Network::FreeMessage(g_kept);
    Network::DeliverEvent(nullptr);
}

}  // namespace
