#include "Fuzz_Harness.h"

#include "network/Network_Event.h"
#include "network/Network_StreamState.h"
#include "os/OS_SocketPoll.h"
#include "support/Network_WirePeer.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <span>
#include <thread>
#include <vector>

// Bytes from a peer, as a stream and as datagrams. The input's first byte
// gives the number of pieces (1 to 8; bit 128: the peer closes at the end),
// the next ones their sizes (1 to 256 bytes; the last piece takes the rest);
// the rest is what the peer sends. The stream goes through a loopback
// connection into a fresh reassembly state, piece by piece; each piece is
// also one datagram through the datagram framing. Every message that comes
// out must be whole and is delivered as an event, its handler keeping every
// other one and freeing it itself.
namespace {

constexpr std::size_t kLargestWrite = 16384;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckWhole(const Network::RawMessage& message) {
    Check(message.bytes != nullptr && Network::IsValidMessageLength(message.length));
    Check(Network::ReadMessageHeader(message.bytes).totalLength == message.length);
}

int g_delivered = 0;

// Making a connection costs more than an input, so one serves every input
// until a peer closes it; all come through one listener. Null when no
// connection could be made: the input is skipped, and the next one tries again.
testsupport::WirePair* Connection() {
    constexpr int kAttempts = 50;
    static testsupport::WireListener listener;
    static testsupport::WirePair pair;
    for (int attempt = 0; attempt < kAttempts && !(pair.near.IsOpen() && pair.far.IsOpen()); ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        pair.far = testsupport::WirePeer::ConnectStream(listener.GetPort());
        pair.near = pair.far.IsOpen() ? listener.Accept() : testsupport::WirePeer();
    }
    return pair.near.IsOpen() && pair.far.IsOpen() ? &pair : nullptr;
}

// What a state that gave up left unread; every byte written has arrived.
void Drain(testsupport::WirePair& pair) {
    std::uint8_t sink[4096];
    while (os::ReceiveStream(pair.near.GetHandle(), sink, sizeof sink) > 0) {
    }
}

bool KeepEveryOther(Network::Tun_Event* event) {
    if (++g_delivered % 2 == 0) {
        return true;
    }
    Network::RawMessage kept = event->GetMessage();
    Network::FreeMessage(kept);
    return false;
}

void Deliver(std::vector<Network::RawMessage>& messages, Network::Tun_Event_Kind kind) {
    Network::Tun_EventList events;
    for (const Network::RawMessage& message : messages) {
        CheckWhole(message);
        Network::Tun_Event event(kind, nullptr, 1, Network::Tun_Address());
        event.callback = &KeepEveryOther;
        event.AttachMessage(message);
        Check(event.payloadLength + Network::kMessageHeaderSize == event.rawLength);
        events.push_back(std::move(event));
    }
    messages.clear();
    Network::DeliverEvents(events);
    Network::FreeEventList(events);
}

// Writes the piece and lets the state read it all; false once it reports the stream closed.
bool FeedStream(testsupport::WirePair& pair, Network::StreamState& state, std::span<const std::uint8_t> piece,
                std::vector<Network::RawMessage>& messages) {
    while (!piece.empty()) {
        const std::span<const std::uint8_t> part = piece.first(std::min(piece.size(), kLargestWrite));
        piece = piece.subspan(part.size());
        Check(pair.far.Write(part));
        std::int64_t pending = 0;
        while ((pending = os::PendingBytes(pair.near.GetHandle())) < static_cast<std::int64_t>(part.size())) {
            Check(os::WaitForSocket(pair.near.GetHandle(), os::kPollReadable, 2000));
        }
        if (state.Receive(pair.near.GetHandle(), messages) == Network::StreamState::Outcome::Closed) {
            return false;
        }
    }
    return true;
}

void FeedDatagram(std::span<const std::uint8_t> piece, std::vector<Network::RawMessage>& messages) {
    const std::uint32_t length = Network::DatagramMessageLength(piece.data(), piece.size());
    if (length == 0) {
        return;
    }
    Network::RawMessage message = Network::AllocateMessage(length);
    Check(message.bytes != nullptr);
    std::copy_n(piece.begin(), length, message.bytes);
    messages.push_back(message);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t control = input.Byte();
    const std::size_t pieceCount = 1 + control % 8;
    const bool peerCloses = (control & 128) != 0;
    std::vector<std::size_t> sizes;
    for (std::size_t i = 1; i < pieceCount; ++i) {
        sizes.push_back(1 + input.Byte());
    }
    const fuzz::Bytes bytes = input.Rest();

    testsupport::WirePair* connection = Connection();
    if (connection == nullptr) {
        return 0;
    }
    testsupport::WirePair& pair = *connection;
    Network::StreamState state;
    std::vector<Network::RawMessage> messages;
    std::span<const std::uint8_t> rest(bytes);
    bool open = true;
    for (std::size_t i = 0; i < pieceCount && !rest.empty(); ++i) {
        const std::size_t pieceSize = i < sizes.size() ? std::min(sizes[i], rest.size()) : rest.size();
        const std::span<const std::uint8_t> piece = rest.first(pieceSize);
        rest = rest.subspan(piece.size());
        if (open) {
            open = FeedStream(pair, state, piece, messages);
            Deliver(messages, Network::Tun_Event_Kind::MessageReceived);
        }
        FeedDatagram(piece, messages);
        Deliver(messages, Network::Tun_Event_Kind::MessageReceived);
    }
    if (!open) {
        Check(state.IsClosed() && state.GetHeldBytes() == 0);
        Drain(pair);
    } else if (peerCloses) {
        // The near end closes first, so the connection's TIME_WAIT stays on
        // the listener's port and holds no port of the machine's range.
        pair.near.ShutdownWrite();
        pair.far.Close();
        Check(os::WaitForSocket(pair.near.GetHandle(), os::kPollReadable, 2000));
        Check(state.Receive(pair.near.GetHandle(), messages) == Network::StreamState::Outcome::Closed);
        Deliver(messages, Network::Tun_Event_Kind::MessageReceived);
        Check(state.GetHeldBytes() == 0);
        pair.near.Close();
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const fuzz::Bytes two = [] {
        fuzz::Bytes bytes = testsupport::FramedMessage(7, "abc");
        const fuzz::Bytes second = testsupport::FramedMessage(18, std::string(40, 'p'));
        bytes.insert(bytes.end(), second.begin(), second.end());
        return bytes;
    }();
    const auto seed = [&seeds](std::string_view name, fuzz::Bytes cuts, const fuzz::Bytes& stream) {
        cuts.insert(cuts.end(), stream.begin(), stream.end());
        seeds.Add(name, cuts);
    };
    seed("whole", {0}, two);
    seed("whole_then_closed", {128}, two);
    seed("header_cut", {1, 3}, two);
    seed("three_pieces_then_closed", {130, 10, 20}, two);
    seed("empty_payload", {0}, testsupport::FramedMessage(0, ""));
    seed("bad_length", {1, 5}, testsupport::FramedMessageWithLength(3, 7, fuzz::Bytes(12, 1)));
    seed("huge_length", {0}, testsupport::FramedMessageWithLength(3, 0xFFFFFFFF, fuzz::Bytes(12, 1)));
}
