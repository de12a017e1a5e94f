#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Byte sequences a hostile or broken peer might send, and what a receiver of
// this system must make of them, worked out here independently of the
// engine's own framing code.
namespace hostile {

using Bytes = std::vector<std::uint8_t>;

struct Case {
    // What the case is, for failure messages: "type 7 truncated 5".
    std::string what;
    Bytes bytes;
    // Where a stream writer cuts the bytes into separate writes (ascending,
    // inside the bytes); empty for one write.
    std::vector<std::size_t> cuts;
};

// Types 0 to 18 and a few that no peer of this system sends: each as a valid
// message with a seeded random payload, every truncation of it, its length
// rewritten to 0, 7, 8, n - 1, n + 1, 1 MiB, 1 MiB + 1 and 0xFFFFFFFF, and a
// few single-bit flips; every damaged message is followed by a valid one.
// The same seed gives the same cases.
std::vector<Case> MakeTypeCases(std::uint32_t seed);
// Run `number` of the seed: one to four messages of random types, some
// damaged (a flipped bit, cut short, a random length), with random cuts.
Case MakeRandomRun(std::uint32_t seed, std::size_t number);

// Hands the type cases, then the random runs, to check in batches of at most
// batchSize. CI makes ciRuns random runs; TUNDRA_HOSTILE_RUNS asks for
// another count (by hand: 1000000).
void ForEachBatch(std::uint32_t seed, std::size_t ciRuns, std::size_t batchSize,
                  const std::function<void(const std::vector<Case>& batch)>& check);

// A stream of these bytes: the whole messages before the first length that
// is not 8 to 1 MiB (or before an incomplete tail), and whether such a
// length ends the connection (otherwise only the peer's close ends it).
struct StreamOutcome {
    std::vector<Bytes> messages;
    bool badLength = false;
};
StreamOutcome ExpectFromStream(const Bytes& bytes);

// A datagram of these bytes: its message (the first `length` bytes), or
// nothing when it is shorter than a header or than its length, or the length
// is not 8 to 1 MiB.
bool ExpectFromDatagram(const Bytes& bytes, Bytes* message);

}  // namespace hostile
