#include "network/Network_HostileCases.h"

#include "support/DamagedBytes.h"

#include <cstdlib>
#include <random>

namespace hostile {

namespace {

constexpr std::uint32_t kMiB = 1u << 20;
constexpr std::size_t kLengthAt = 4;
// Every type the game sends, then a few it never does.
constexpr std::uint32_t kUnknownTypes[] = {19, 1000, 0x7FFFFFFF, 0xFFFFFFFF};
constexpr std::uint32_t kRewrittenLengths[] = {0, 7, 8, kMiB, kMiB + 1, 0xFFFFFFFF};
constexpr int kBitFlipsPerType = 4;

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes[at++] = static_cast<std::uint8_t>(value >> shift);
    }
}

std::uint32_t GetU32(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        value |= static_cast<std::uint32_t>(bytes[at++]) << shift;
    }
    return value;
}

bool ValidLength(std::uint32_t length) { return length >= 8 && length <= kMiB; }

Bytes RandomPayload(std::mt19937& random, std::size_t maxLength) {
    Bytes payload(random() % (maxLength + 1));
    for (std::uint8_t& byte : payload) {
        byte = static_cast<std::uint8_t>(random());
    }
    return payload;
}

Bytes Followed(Bytes damaged, const Bytes& trailer) {
    damaged.insert(damaged.end(), trailer.begin(), trailer.end());
    return damaged;
}

std::vector<std::size_t> RandomCuts(std::mt19937& random, std::size_t size) {
    std::vector<std::size_t> cuts;
    for (std::size_t at = 1 + random() % 9; at < size; at += 1 + random() % 9) {
        cuts.push_back(at);
    }
    return cuts;
}

void AddTypeCases(std::uint32_t type, std::mt19937& random, std::vector<Case>& cases) {
    const std::string name = "type " + std::to_string(type);
    const Bytes message = MakeMessage(type, RandomPayload(random, 24));
    const Bytes trailer = MakeMessage(type, RandomPayload(random, 8));
    const auto size = static_cast<std::uint32_t>(message.size());
    cases.push_back({name + " valid", Followed(message, trailer), {}});
    testsupport::ForEachDamaged(message, 0, 1, random(), [&](const Bytes& cut, const char*, std::size_t length) {
        cases.push_back({name + " truncated " + std::to_string(length), cut, {}});
    });
    std::vector<std::uint32_t> lengths(std::begin(kRewrittenLengths), std::end(kRewrittenLengths));
    lengths.push_back(size - 1);
    lengths.push_back(size + 1);
    for (const std::uint32_t length : lengths) {
        Bytes rewritten = message;
        PutU32(rewritten, kLengthAt, length);
        cases.push_back({name + " length " + std::to_string(length), Followed(rewritten, trailer), {}});
    }
    for (int flip = 0; flip < kBitFlipsPerType; ++flip) {
        Bytes flipped = message;
        const std::size_t bit = random() % (flipped.size() * 8);
        flipped[bit / 8] ^= static_cast<std::uint8_t>(1u << bit % 8);
        Bytes bytes = Followed(flipped, trailer);
        std::vector<std::size_t> cuts = RandomCuts(random, bytes.size());
        cases.push_back({name + " bit " + std::to_string(bit), std::move(bytes), std::move(cuts)});
    }
}

Case RandomRun(std::size_t number, std::mt19937& random) {
    Case run{"random run " + std::to_string(number), {}, {}};
    for (std::size_t count = 1 + random() % 4; count > 0; --count) {
        Bytes message = MakeMessage(static_cast<std::uint32_t>(random() % 24), RandomPayload(random, 40));
        switch (random() % 6) {
            case 0:
                message[random() % message.size()] ^= static_cast<std::uint8_t>(1u << random() % 8);
                break;
            case 1:
                message.resize(random() % message.size());
                break;
            case 2:
                PutU32(message, kLengthAt, static_cast<std::uint32_t>(random()));
                break;
            default:
                break;
        }
        run.bytes.insert(run.bytes.end(), message.begin(), message.end());
    }
    run.cuts = RandomCuts(random, run.bytes.size());
    return run;
}

}  // namespace

Bytes MakeMessage(std::uint32_t type, const Bytes& payload) {
    Bytes message(8);
    PutU32(message, 0, type);
    PutU32(message, kLengthAt, static_cast<std::uint32_t>(payload.size() + 8));
    message.insert(message.end(), payload.begin(), payload.end());
    return message;
}

std::vector<Case> MakeCases(std::uint32_t seed, std::size_t randomCases) {
    std::mt19937 random(seed);
    std::vector<Case> cases;
    for (std::uint32_t type = 0; type <= 18; ++type) {
        AddTypeCases(type, random, cases);
    }
    for (const std::uint32_t type : kUnknownTypes) {
        AddTypeCases(type, random, cases);
    }
    for (std::size_t number = 0; number < randomCases; ++number) {
        cases.push_back(RandomRun(number, random));
    }
    return cases;
}

std::size_t RandomCaseCount(std::size_t ciCount) {
    if (const char* asked = std::getenv("TUNDRA_HOSTILE_CASES")) {
        return static_cast<std::size_t>(std::strtoull(asked, nullptr, 10));
    }
    return ciCount;
}

StreamOutcome ExpectFromStream(const Bytes& bytes) {
    StreamOutcome outcome;
    std::size_t at = 0;
    while (bytes.size() - at >= 8) {
        const std::uint32_t length = GetU32(bytes, at + kLengthAt);
        if (!ValidLength(length)) {
            outcome.badLength = true;
            break;
        }
        if (bytes.size() - at < length) {
            break;
        }
        outcome.messages.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    }
    return outcome;
}

bool ExpectFromDatagram(const Bytes& bytes, Bytes* message) {
    if (bytes.size() < 8) {
        return false;
    }
    const std::uint32_t length = GetU32(bytes, kLengthAt);
    if (!ValidLength(length) || length > bytes.size()) {
        return false;
    }
    message->assign(bytes.begin(), bytes.begin() + length);
    return true;
}

}  // namespace hostile
