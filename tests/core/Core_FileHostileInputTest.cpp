#include "Core_StreamTestClasses.h"

#include "core/Core_MemoryFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using Core::MemoryFile;
using Core::RefPtr;
using streamtest::Counted;
using streamtest::Make;
using streamtest::WriteReferenceHead;
using streamtest::StreamLeaf;
using streamtest::StreamList;
using streamtest::StreamNode;

namespace {

// One stream with every kind of field: a cycle through a plain pointer, a
// shared leaf, long and short strings, null references, a nested list and
// a chain of owned children.
std::vector<std::uint8_t> ValidStream() {
    auto shared = Make<StreamLeaf>();
    shared->number = -5;
    shared->weight = 2.5f;
    shared->label = "a label of more than fifteen bytes";
    auto a = Make<StreamNode>();
    auto b = Make<StreamNode>();
    a->child = b;
    a->leaf = shared;
    b->peer = a.Get();
    b->leaf = shared;
    auto inner = Make<StreamList>();
    auto small = Make<StreamLeaf>();
    small->label = "hi";
    inner->items = {small, nullptr, shared};
    auto root = Make<StreamList>();
    root->items = {a, inner, nullptr, streamtest::MakeChain(5), b};

    MemoryFile file;
    file << root;
    return streamtest::BytesOf(file);
}

// Reads one stream as a list and lets go of everything; true when it was accepted.
bool ReadAndDrop(const std::vector<std::uint8_t>& bytes) {
    MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    RefPtr<StreamList> list = file.ReadObjectAs<StreamList>();
    // A failed stream never hands back an object (null alone may be valid data).
    EXPECT_FALSE(list != nullptr && file.HasFailed());
    return list != nullptr;
}

}  // namespace

TEST(HostileStream, EveryTruncationFailsAndFreesWhatWasRead) {
    const std::vector<std::uint8_t> valid = ValidStream();
    const int live = Counted::Live();
    EXPECT_TRUE(ReadAndDrop(valid));
    for (std::size_t length = 0; length < valid.size(); ++length) {
        const std::vector<std::uint8_t> prefix(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(ReadAndDrop(prefix)) << length;
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
    label.WriteI32(3);
    label.WriteF32(1.0f);
    label.WriteU32(0xFFFFFFFF);
    label.Write("abc", 3);
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

// Random damage to a valid stream: overwritten, flipped, truncated, cut and
// repeated bytes, and 32-bit fields replaced by telling values. Every copy
// must be read without a fault (the sanitizers watch), and every object a
// read created must be gone once its stream and result are.
TEST(HostileStream, RandomlyMutatedStreamsNeverLeakOrCrash) {
    constexpr int kMutations = 300000;
    const std::vector<std::uint8_t> valid = ValidStream();
    const std::uint32_t telling[] = {0, 1, 2, 3, 5, 255, 256, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
    std::mt19937 random(20240611);
    auto below = [&random](std::size_t limit) {
        return std::uniform_int_distribution<std::size_t>(0, limit - 1)(random);
    };

    const int live = Counted::Live();
    int accepted = 0;
    std::vector<std::uint8_t> bytes;
    for (int round = 0; round < kMutations; ++round) {
        bytes = valid;
        const std::size_t changes = 1 + below(3);
        for (std::size_t change = 0; change < changes && !bytes.empty(); ++change) {
            const std::size_t at = below(bytes.size());
            switch (below(6)) {
                case 0:
                    bytes[at] = static_cast<std::uint8_t>(below(256));
                    break;
                case 1:
                    bytes[at] ^= static_cast<std::uint8_t>(1u << below(8));
                    break;
                case 2:
                    bytes.resize(at);
                    break;
                case 3: {
                    const std::size_t count = 1 + below(std::min<std::size_t>(16, bytes.size() - at));
                    bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
                    break;
                }
                case 4: {
                    const std::size_t count = 1 + below(std::min<std::size_t>(16, bytes.size() - at));
                    const std::vector<std::uint8_t> piece(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                                          bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
                    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(below(bytes.size())), piece.begin(),
                                 piece.end());
                    break;
                }
                default: {
                    const std::uint32_t value = telling[below(std::size(telling))];
                    for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i) {
                        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
                    }
                    break;
                }
            }
        }
        if (ReadAndDrop(bytes)) {
            ++accepted;
        }
        ASSERT_EQ(Counted::Live(), live) << "round " << round;
    }
    // Both outcomes occur, so both paths were exercised.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, kMutations);
}
