#include "network/Network_HostileCases.h"

#include "support/DamagedBytes.h"
#include "support/Network_WirePeer.h"

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
    const Bytes payload = RandomPayload(random, 24);
    const Bytes message = testsupport::FramedMessage(type, payload);
    const Bytes trailer = testsupport::FramedMessage(type, RandomPayload(random, 8));
    const auto size = static_cast<std::uint32_t>(message.size());
    cases.push_back({name + " valid", Followed(message, trailer), {}});
    testsupport::ForEachDamaged(message, 0, 1, random(), [&](const Bytes& cut, const char*, std::size_t length) {
        cases.push_back({name + " truncated " + std::to_string(length), cut, {}});
    });
    std::vector<std::uint32_t> lengths(std::begin(kRewrittenLengths), std::end(kRewrittenLengths));
    lengths.push_back(size - 1);
    lengths.push_back(size + 1);
    for (const std::uint32_t length : lengths) {
        cases.push_back({name + " length " + std::to_string(length),
                         Followed(testsupport::FramedMessageWithLength(type, length, payload), trailer), {}});
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

}  // namespace

Case MakeRandomRun(std::uint32_t seed, std::size_t number) {
    std::mt19937 random(seed ^ static_cast<std::uint32_t>(number * 2654435761u));
    Case run{"random run " + std::to_string(number), {}, {}};
    for (std::size_t count = 1 + random() % 4; count > 0; --count) {
        const auto type = static_cast<std::uint32_t>(random() % 24);
        const Bytes payload = RandomPayload(random, 40);
        Bytes message = testsupport::FramedMessage(type, payload);
        switch (random() % 6) {
            case 0:
                message[random() % message.size()] ^= static_cast<std::uint8_t>(1u << random() % 8);
                break;
            case 1:
                message.resize(random() % message.size());
                break;
            case 2:
                message = testsupport::FramedMessageWithLength(type, static_cast<std::uint32_t>(random()), payload);
                break;
            default:
                break;
        }
        run.bytes.insert(run.bytes.end(), message.begin(), message.end());
    }
    run.cuts = RandomCuts(random, run.bytes.size());
    return run;
}

std::vector<Case> MakeTypeCases(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<Case> cases;
    for (std::uint32_t type = 0; type <= 18; ++type) {
        AddTypeCases(type, random, cases);
    }
    for (const std::uint32_t type : kUnknownTypes) {
        AddTypeCases(type, random, cases);
    }
    return cases;
}

void ForEachBatch(std::uint32_t seed, std::size_t ciRuns, std::size_t batchSize,
                  const std::function<void(const std::vector<Case>& batch)>& check) {
    std::vector<Case> batch;
    const auto take = [&](Case next) {
        batch.push_back(std::move(next));
        if (batch.size() == batchSize) {
            check(batch);
            batch.clear();
        }
    };
    for (Case& typeCase : MakeTypeCases(seed)) {
        take(std::move(typeCase));
    }
    const char* asked = std::getenv("TUNDRA_HOSTILE_RUNS");
    const std::size_t runs = asked != nullptr ? static_cast<std::size_t>(std::strtoull(asked, nullptr, 10)) : ciRuns;
    for (std::size_t number = 0; number < runs; ++number) {
        take(MakeRandomRun(seed, number));
    }
    if (!batch.empty()) {
        check(batch);
    }
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
