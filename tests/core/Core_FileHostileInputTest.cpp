#include "Core_StreamTestClasses.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace streamtest;
using Core::MemoryFile;
using Core::RefPtr;

namespace {

// Two records with every kind of field: a list holding a cycle through a
// plain parent, a leaf shared three times, long and short strings, null
// references, a nested list and a chain of owned children; then a record of
// back-references into the first.
std::vector<std::uint8_t> ValidStream() {
    auto shared = Make<StreamLeaf>();
    shared->number = -5;
    shared->weight = 2.5f;
    shared->label = "a label of more than fifteen bytes";
    auto a = Make<StreamNode>();
    a->child = MakeChain(5);
    a->child->parent = a.Get();
    auto inner = Make<StreamList>();
    auto small = Make<StreamLeaf>();
    small->label = "hi";
    inner->items = {small, nullptr, shared};
    auto root = Make<StreamList>();
    root->items = {a, inner, nullptr, shared, shared};
    auto again = Make<StreamList>();
    again->items = {root, a->child, shared};

    MemoryFile file;
    file << root << again;
    return BytesOf(file);
}

// Reads both records from one stream, letting go of the first before the
// second; true when both were accepted.
bool ReadAndDrop(const std::vector<std::uint8_t>& bytes) {
    MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    int accepted = 0;
    for (int record = 0; record < 2; ++record) {
        RefPtr<StreamList> list = file.ReadObjectAs<StreamList>();
        // A failed stream never hands back an object (null alone may be valid data).
        EXPECT_FALSE(list != nullptr && file.HasFailed());
        accepted += list != nullptr;
    }
    return accepted == 2;
}

}  // namespace

TEST(HostileStream, EveryTruncationFailsAndFreesWhatWasRead) {
    const std::vector<std::uint8_t> valid = ValidStream();
    const int live = Counted::Live();
    EXPECT_TRUE(ReadAndDrop(valid));
    for (std::size_t length = 0; length < valid.size(); ++length) {
        EXPECT_FALSE(ReadAndDrop(std::vector<std::uint8_t>(valid.begin(), valid.begin() + std::ptrdiff_t(length))));
        ASSERT_EQ(Counted::Live(), live) << length;
    }
}

// A class name and a leaf's label each claiming 4 GiB, and a list claiming
// 2^31 items: each fails once the data runs out, without a giant allocation.
TEST(HostileStream, HugeLengthsAndCountsFail) {
    MemoryFile name;
    name.WriteU8(1);
    name.WriteU32(0xFFFFFFFF);
    name.Write("StreamLeaf", 10);
    MemoryFile label;
    WriteReferenceHead(label, "StreamLeaf", 1);
    label.Write("\3\0\0\0\0\0\x80\x3F\xFF\xFF\xFF\xFF" "abc", 15);
    MemoryFile count;
    WriteReferenceHead(count, "StreamList", 1);
    count.WriteU32(0x7FFFFFFF);
    count.Write("\0\0\0\0\0\0\0\0\0", 10);
    const int live = Counted::Live();
    for (MemoryFile* file : {&name, &label, &count}) {
        EXPECT_EQ(file->ReadObject(), nullptr);
        EXPECT_TRUE(file->HasFailed());
        EXPECT_EQ(Counted::Live(), live);
    }
}

// Random damage to a valid stream: overwritten, flipped, cut and repeated
// bytes, and 32-bit fields (ids, lengths, counts) replaced by telling values.
// Every copy must be read without a fault (the sanitizers watch), and every
// object a read created must be gone once its stream and results are.
TEST(HostileStream, RandomlyMutatedStreamsNeverLeakOrCrash) {
    constexpr int kMutations = 20000;
    const std::vector<std::uint8_t> valid = ValidStream();
    const std::uint32_t telling[] = {0, 1, 2, 3, 5, 255, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    std::mt19937 random(20240611);
    auto below = [&random](std::size_t limit) {
        return std::uniform_int_distribution<std::size_t>(0, limit - 1)(random);
    };
    const int live = Counted::Live();
    int accepted = 0;
    for (int round = 0; round < kMutations; ++round) {
        std::vector<std::uint8_t> bytes = valid;
        for (std::size_t change = 1 + below(3); change > 0 && !bytes.empty(); --change) {
            const std::size_t at = below(bytes.size());
            const auto from = bytes.begin() + std::ptrdiff_t(at);
            const auto to = from + std::ptrdiff_t(1 + below(std::min<std::size_t>(16, bytes.size() - at)));
            switch (below(5)) {
                case 0:
                    bytes[at] = static_cast<std::uint8_t>(below(256));
                    break;
                case 1:
                    bytes[at] ^= static_cast<std::uint8_t>(1u << below(8));
                    break;
                case 2:
                    bytes.erase(from, to);
                    break;
                case 3: {
                    const std::vector<std::uint8_t> piece(from, to);
                    bytes.insert(bytes.begin() + std::ptrdiff_t(below(bytes.size())), piece.begin(), piece.end());
                    break;
                }
                default:
                    for (std::size_t i = 0, value = telling[below(std::size(telling))]; i < 4 && at + i < bytes.size(); ++i) {
                        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
                    }
                    break;
            }
        }
        accepted += ReadAndDrop(bytes);
        ASSERT_EQ(Counted::Live(), live) << "round " << round;
    }
    // Both outcomes occur, so both paths were exercised.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, kMutations);
}
