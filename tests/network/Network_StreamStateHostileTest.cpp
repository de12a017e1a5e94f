#include "Network_StreamStateProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using testsupport::Bytes;
using Outcome = Network::StreamState::Outcome;

constexpr int kCases = 2000;

// What a correct reader makes of a byte stream: the whole messages before the
// first forbidden length, and whether there was one.
struct Expected {
    std::vector<Bytes> messages;
    bool broken = false;
};

std::uint32_t Length(const Bytes& bytes, std::size_t at) {
    return bytes[at + 4] | bytes[at + 5] << 8 | bytes[at + 6] << 16 | static_cast<std::uint32_t>(bytes[at + 7]) << 24;
}

Expected Parse(const Bytes& stream) {
    Expected expected;
    std::size_t at = 0;
    while (stream.size() - at >= 8) {
        const std::uint32_t length = Length(stream, at);
        if (length < 8 || length > Network::kMaxMessageLength) {
            expected.broken = true;
            break;
        }
        if (stream.size() - at < length) {
            break;
        }
        expected.messages.emplace_back(stream.begin() + at, stream.begin() + at + length);
        at += length;
    }
    return expected;
}

class Hostile {
public:
    explicit Hostile(std::uint32_t seed) : m_random(seed) {}

    std::uint32_t Below(std::uint32_t bound) {
        return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(m_random);
    }

    // Valid messages of the application's types 0 to 18 and a few unknown ones.
    Bytes Messages(std::vector<std::size_t>& starts) {
        Bytes stream;
        const std::uint32_t count = 1 + Below(4);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t type = Below(4) == 0 ? 19 + Below(1000000) : Below(19);
            Bytes payload(Below(4) == 0 ? Below(3000) : Below(40));
            for (std::uint8_t& byte : payload) {
                byte = static_cast<std::uint8_t>(Below(256));
            }
            starts.push_back(stream.size());
            const Bytes message = testsupport::FramedMessage(type, payload);
            stream.insert(stream.end(), message.begin(), message.end());
        }
        return stream;
    }

    void Mutate(Bytes& stream, const std::vector<std::size_t>& starts) {
        switch (Below(4)) {
        case 0:  // truncated anywhere
            stream.resize(1 + Below(static_cast<std::uint32_t>(stream.size())));
            break;
        case 1: {  // one length rewritten
            const std::size_t at = starts[Below(static_cast<std::uint32_t>(starts.size()))];
            const std::uint32_t n = Length(stream, at);
            const std::uint32_t lengths[] = {0, 7, 8, n - 1, n + 1, 1u << 20, (1u << 20) + 1, 0xFFFFFFFF};
            const std::uint32_t length = lengths[Below(8)];
            for (int i = 0; i < 4; ++i) {
                stream[at + 4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
            }
            break;
        }
        case 2:  // bits flipped
            for (std::uint32_t flips = 1 + Below(4); flips > 0; --flips) {
                stream[Below(static_cast<std::uint32_t>(stream.size()))] ^= static_cast<std::uint8_t>(1 << Below(8));
            }
            break;
        default:  // left whole
            break;
        }
    }

    // Cuts into 1 to 6 pieces, none empty.
    std::vector<std::span<const std::uint8_t>> Chunks(const Bytes& stream) {
        std::vector<std::size_t> cuts{0, stream.size()};
        for (std::uint32_t i = Below(6); i > 0 && stream.size() > 1; --i) {
            cuts.push_back(1 + Below(static_cast<std::uint32_t>(stream.size() - 1)));
        }
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
        std::vector<std::span<const std::uint8_t>> chunks;
        for (std::size_t i = 1; i < cuts.size(); ++i) {
            chunks.push_back(std::span(stream).subspan(cuts[i - 1], cuts[i] - cuts[i - 1]));
        }
        return chunks;
    }

private:
    std::mt19937 m_random;
};

TEST(StreamStateHostile, EveryOutcomeIsTheExactMessagesOrAClosedConnection) {
    for (int seed = 0; seed < kCases; ++seed) {
        Hostile hostile(static_cast<std::uint32_t>(seed));
        std::vector<std::size_t> starts;
        Bytes stream = hostile.Messages(starts);
        hostile.Mutate(stream, starts);
        const Expected expected = Parse(stream);

        StreamProbe probe;
        Outcome outcome = Outcome::Open;
        for (const std::span<const std::uint8_t> chunk : hostile.Chunks(stream)) {
            outcome = probe.Feed(chunk);
            if (outcome == Outcome::Closed) {
                break;
            }
        }
        ASSERT_EQ(outcome == Outcome::Closed, expected.broken) << "seed " << seed;
        if (outcome == Outcome::Open) {
            probe.pair.far.Close();
            ASSERT_TRUE(os::WaitForSocket(probe.pair.near.GetHandle(), os::kPollReadable, 2000));
            ASSERT_EQ(probe.state.Receive(probe.pair.near.GetHandle(), probe.messages), Outcome::Closed);
        }
        ASSERT_EQ(probe.TakeMessages(), expected.messages) << "seed " << seed;
        ASSERT_EQ(probe.state.GetHeldBytes(), 0u);
    }
}

}  // namespace
