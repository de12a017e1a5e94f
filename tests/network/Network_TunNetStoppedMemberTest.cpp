// A member whose link stalls while another player floods the session: once
// it reads again it has everything the host sent it, or it was closed and
// left the session; never connected and wrong.
#include "support/Network_FrontEndFixture.h"
#include "support/Tundra_TestGame.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace testsupport;
using Tundra::NetMessageKind;
using Tundra::TunPacket;
using std::chrono::milliseconds;

constexpr std::uint32_t Type(TunPacket type) { return static_cast<std::uint32_t>(type); }
constexpr std::uint32_t kAllPlayers = 1;
constexpr std::size_t kTexts = 25000;
constexpr std::size_t kDataMessages = 60;
constexpr std::size_t kAdded = 50;
constexpr std::size_t kRemoveEvery = 6;

Bytes TextTo(std::uint32_t sender, const std::string& text) {
    Bytes bytes;
    AppendU32(bytes, sender);
    AppendU32(bytes, kAllPlayers);
    AppendString(bytes, text);
    return bytes;
}

Bytes DataTo(std::uint32_t sender, std::uint32_t code) {
    Bytes bytes;
    AppendU32(bytes, sender);
    AppendU32(bytes, kAllPlayers);
    AppendU32(bytes, code);
    AppendU32(bytes, 4);
    AppendU32(bytes, code);
    return bytes;
}

// What a member read, by type, until the host went quiet or closed it.
struct Heard {
    std::size_t texts = 0;
    std::size_t data = 0;
    std::size_t created = 0;
    std::size_t removed = 0;
    bool closed = false;
};

Heard ReadUntilQuiet(WirePeer& stream) {
    Heard heard;
    while (std::optional<WireMessage> message = stream.ReadMessage(milliseconds(3000))) {
        heard.texts += message->type == Type(TunPacket::Text) ? 1 : 0;
        heard.data += message->type == Type(TunPacket::Data) ? 1 : 0;
        heard.created += message->type == Type(TunPacket::ObjectCreate) ? 1 : 0;
        heard.removed += message->type == Type(TunPacket::ObjectRemove) ? 1 : 0;
    }
    heard.closed = stream.WaitClosed(milliseconds(0));
    return heard;
}

class StoppedMemberTest : public FrontEndGameTest {};

TEST_F(StoppedMemberTest, ItEndsWithEverythingOrClosedNeverConnectedAndWrong) {
    ASSERT_TRUE(StartHost(Net()));
    ASSERT_TRUE(Net().AddBaseNetObject(TUN_NEW(tundratest::TestObject), "Dot"));
    std::vector<Tundra::GameObject*> objects;
    std::size_t dataHeard = 0;
    RecordingListener::SetReaction([&](const HeardMessage& message) {
        if (message.kind != NetMessageKind::Data) {
            return;
        }
        ++dataHeard;
        if (objects.size() < kAdded) {
            objects.push_back(LayerAt(0).AddNetworkGameObject("Dot", nullptr));
        }
        if (dataHeard % kRemoveEvery == 0) {
            Net().RemoveNetworkObject(objects[dataHeard / kRemoveEvery - 1]);
        }
    });
    // Its stream takes little at a time, as a stalled link's does once its
    // buffers are full.
    WireClient stopped;
    stopped.stream = WirePeer::ConnectSmallWindow(HostPort(Net()));
    stopped.datagram = WirePeer::OpenDatagram(stopped.Port());
    ASSERT_TRUE(stopped.RequestJoin("", "Ann"));
    ASSERT_TRUE(PumpUntil(Net(), [&] { return Net().GetSessionPlayersNumber() == 2; }));
    JoinedWireClient sender = JoinWireClient(Net(), "Bob");
    ASSERT_GT(sender.result, 0);
    const auto senderId = static_cast<std::uint32_t>(sender.result);

    const std::string text(200, 't');
    std::atomic<bool> sent{false};
    std::atomic<bool> flooded{false};
    std::thread flooding([&] {
        bool written = true;
        for (std::size_t i = 1; i <= kTexts && written; ++i) {
            written = sender.client.stream.Write(FramedMessage(Type(TunPacket::Text), TextTo(senderId, text)),
                                                 milliseconds(30000));
            if (written && i % (kTexts / kDataMessages) == 0 && i / (kTexts / kDataMessages) <= kDataMessages) {
                written = sender.client.stream.Write(
                    FramedMessage(Type(TunPacket::Data), DataTo(senderId, static_cast<std::uint32_t>(i))),
                    milliseconds(30000));
            }
        }
        sent = written;
        flooded = true;
    });
    // The sender hears its own texts as a member of the group.
    std::thread echoes([&] {
        while (!ReadUntilQuiet(sender.client.stream).closed && !flooded) {
        }
    });
    // The member reads nothing for two seconds while the flood goes on.
    PumpUntil(Net(), [] { return RecordingListener::Count(NetMessageKind::Text) == kTexts; }, milliseconds(2000));

    Heard heard;
    std::atomic<bool> reading{true};
    std::thread reader([&] {
        heard = ReadUntilQuiet(stopped.stream);
        reading = false;
    });
    PumpUntil(Net(), [&] { return !reading; }, milliseconds(90000));
    reader.join();
    flooding.join();
    echoes.join();

    const std::size_t replicas = heard.created - heard.removed;
    SCOPED_TRACE("heard " + std::to_string(heard.texts) + " texts, " + std::to_string(heard.data) + " data, " +
                 std::to_string(replicas) + " replicas");
    if (heard.closed) {
        EXPECT_EQ(Net().GetSessionPlayersNumber(), 2u) << "a closed member has left";
    } else {
        EXPECT_TRUE(sent);
        EXPECT_EQ(heard.texts, kTexts);
        EXPECT_EQ(heard.data, kDataMessages);
        EXPECT_EQ(replicas, Net().GetReplicatedObjects().size());
        EXPECT_EQ(Net().GetSessionPlayersNumber(), 3u);
    }
}

// A player floods the session by datagram while a member reads slowly: what
// the member cannot take of it is dropped there, and both stay.
TEST_F(StoppedMemberTest, ADatagramFloodIsDroppedAtASlowMemberWhoStays) {
    ASSERT_TRUE(StartHost(Net()));
    WireClient slow;
    slow.stream = WirePeer::ConnectSmallWindow(HostPort(Net()));
    slow.datagram = WirePeer::OpenDatagram(slow.Port());
    ASSERT_TRUE(slow.RequestJoin("", "Mia"));
    ASSERT_TRUE(PumpUntil(Net(), [&] { return Net().GetSessionPlayersNumber() == 2; }));
    JoinedWireClient sender = JoinWireClient(Net(), "Ben");
    ASSERT_GT(sender.result, 0);
    Bytes text = U32Payload(static_cast<std::uint32_t>(sender.result));
    AppendU32(text, Net().GetAllPlayersGroup()->GetID());
    AppendString(text, std::string(200, 'd'));
    const Bytes datagram = FramedMessage(Type(TunPacket::Text), text);

    std::atomic<bool> flooding{true};
    std::atomic<bool> reading{true};
    std::thread flooder([&] {
        while (flooding) {
            sender.client.datagram.SendDatagram(HostPort(Net()), datagram);
        }
    });
    // The sender hears its own texts as a member of the group.
    std::thread echoes([&] {
        while (reading) {
            sender.client.stream.Read(64 * 1024, milliseconds(10));
        }
    });
    std::thread reader([&] {
        while (reading) {
            slow.stream.Read(16 * 1024, milliseconds(50));
            std::this_thread::sleep_for(milliseconds(50));
        }
    });
    PumpUntil(Net(), [] { return false; }, milliseconds(2000));
    flooding = false;
    flooder.join();
    // What the host still had of the flood goes out.
    PumpUntil(Net(), [] { return false; }, milliseconds(2000));
    reading = false;
    echoes.join();
    reader.join();

    EXPECT_FALSE(slow.stream.WaitClosed(milliseconds(0)));
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 3u);
    EXPECT_GT(RecordingListener::Count(NetMessageKind::Text), 0u);
}

}  // namespace
