#pragma once

#include <cstddef>
#include <cstdint>
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

// A valid message: type, length (payload + 8), payload; little-endian.
Bytes MakeMessage(std::uint32_t type, const Bytes& payload);

// Types 0 to 18 and a few that no peer of this system sends: each as a valid
// message with a seeded random payload, every truncation of it, its length
// rewritten to 0, 7, 8, n - 1, n + 1, 1 MiB, 1 MiB + 1 and 0xFFFFFFFF, and a
// few single-bit flips; every damaged message is followed by a valid one.
// Then `randomCases` runs of one to four messages with random damage and
// random cuts. The same seed gives the same cases.
std::vector<Case> MakeCases(std::uint32_t seed, std::size_t randomCases);

// The seeded random runs CI makes, or the count TUNDRA_HOSTILE_CASES asks
// for (by hand: 1000000).
std::size_t RandomCaseCount(std::size_t ciCount);

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
