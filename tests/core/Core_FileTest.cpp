#include "Core_StreamTestClasses.h"

#include "core/Core_MemoryFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;

using Core::MemoryFile;
using Core::RefPtr;
using streamtest::BytesOf;
using streamtest::Counted;
using streamtest::Make;
using streamtest::StreamLeaf;
using streamtest::StreamList;
using streamtest::StreamNode;
using streamtest::WriteReferenceHead;

namespace {

MemoryFile CopyOf(const MemoryFile& file) { return MemoryFile(file.GetData(), file.GetSize()); }

class ObjectStream : public testing::Test {
protected:
    void SetUp() override {
        Counted::Reset();
        m_liveBefore = Counted::Live();
    }
    // Every object the test made or read is gone again.
    void TearDown() override { EXPECT_EQ(Counted::Live(), m_liveBefore); }

private:
    int m_liveBefore = 0;
};

}  // namespace

// Ids count up in first-write order, also across top-level writes.
TEST_F(ObjectStream, ObjectIsStoredOnceThenByIdAndNullIsOneZeroByte) {
    auto leaf = Make<StreamLeaf>();
    leaf->number = -2;
    leaf->weight = 1.5f;
    leaf->label = "ab";
    auto other = Make<StreamLeaf>();
    MemoryFile file;
    file << leaf << leaf << static_cast<const Core::Object*>(nullptr) << other;
    const std::vector<std::uint8_t> expected = {
        0x01, 0x0A, 0x00, 0x00, 0x00, 'S', 't', 'r', 'e', 'a', 'm', 'L', 'e', 'a', 'f', 0x01, 0x00, 0x00, 0x00,
        0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xC0, 0x3F, 0x02, 0x00, 0x00, 0x00, 'a', 'b',
        0x01, 0x0A, 0x00, 0x00, 0x00, 'S', 't', 'r', 'e', 'a', 'm', 'L', 'e', 'a', 'f', 0x01, 0x00, 0x00, 0x00,
        0x00,
        0x01, 0x0A, 0x00, 0x00, 0x00, 'S', 't', 'r', 'e', 'a', 'm', 'L', 'e', 'a', 'f', 0x02, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    };
    EXPECT_EQ(BytesOf(file), expected);

    MemoryFile reader = CopyOf(file);
    RefPtr<StreamLeaf> first = reader.ReadObjectAs<StreamLeaf>();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->number, -2);
    EXPECT_EQ(first->weight, 1.5f);
    EXPECT_EQ(first->label, "ab");
    EXPECT_EQ(reader.ReadObjectAs<StreamLeaf>(), first.Get());
    EXPECT_EQ(reader.ReadObject(), nullptr);
    RefPtr<StreamLeaf> second = reader.ReadObjectAs<StreamLeaf>();
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(reader.HasFailed());
    EXPECT_EQ(Counted::Loads(), 2);
}

// A cycle through a plain pointer, and an object that is only pointed at:
// the stream keeps that one alive, for later reads, until it goes.
TEST_F(ObjectStream, CycleReadsBackAsTheSameObject) {
    auto a = Make<StreamNode>();
    auto b = Make<StreamNode>();
    auto target = Make<StreamNode>();
    a->child = b;
    a->peer = target.Get();
    b->peer = a.Get();
    MemoryFile file;
    file << a;
    const int liveBeforeRead = Counted::Live();
    {
        MemoryFile reader = CopyOf(file);
        StreamNode* readA = reader.ReadObjectAs<StreamNode>();
        ASSERT_NE(readA, nullptr);
        // Returned unowned, as created: the caller takes the first reference.
        EXPECT_EQ(readA->GetReferenceCount(), 0u);
        RefPtr<StreamNode> holder(readA);
        ASSERT_NE(readA->child, nullptr);
        EXPECT_EQ(readA->child->GetReferenceCount(), 1u);
        EXPECT_EQ(readA->child->peer, readA);
        ASSERT_NE(readA->peer, nullptr);
        EXPECT_EQ(readA->peer->GetReferenceCount(), 1u);
        EXPECT_EQ(Counted::Live(), liveBeforeRead + 3);
        EXPECT_FALSE(reader.HasFailed());
    }
    EXPECT_EQ(Counted::Live(), liveBeforeRead);
}

// Items of any class in one owning list, the leaf shared three times.
TEST_F(ObjectStream, SharedSubObjectIsReadOnce) {
    auto list = Make<StreamList>();
    auto leaf = Make<StreamLeaf>();
    auto node = Make<StreamNode>();
    node->leaf = leaf;
    list->items = {leaf, nullptr, node, leaf};
    MemoryFile file;
    file << list;

    MemoryFile reader = CopyOf(file);
    RefPtr<StreamList> back = reader.ReadObjectAs<StreamList>();
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->items.size(), 4u);
    EXPECT_NE(dynamic_cast<StreamLeaf*>(back->items[0].Get()), nullptr);
    EXPECT_EQ(back->items[1], nullptr);
    auto* backNode = dynamic_cast<StreamNode*>(back->items[2].Get());
    ASSERT_NE(backNode, nullptr);
    EXPECT_EQ(backNode->leaf, back->items[0]);
    EXPECT_EQ(back->items[3], back->items[0]);
    EXPECT_EQ(back->items[0]->GetReferenceCount(), 3u);
    EXPECT_EQ(Counted::Loads(), 3);
}

TEST_F(ObjectStream, UnregisteredClassGivesNullAndKeepsItsId) {
    MemoryFile file;
    WriteReferenceHead(file, "NoSuchClass", 5);
    WriteReferenceHead(file, "StreamLeaf", 5);  // a later reference to id 5 creates nothing
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_FALSE(file.HasFailed());
    EXPECT_EQ(Counted::Loads(), 0);
}

// Each stream, read as a StreamNode, fails and frees at once whatever it
// created; without the fault it names, each would be read whole.
TEST_F(ObjectStream, MalformedReferencesFailTheRead) {
    const struct {
        const char* what;
        std::function<void(MemoryFile&)> write;
    } cases[] = {
        {"another class than asked for",
         [](MemoryFile& file) {
             auto list = Make<StreamList>();
             list->items = {Make<StreamNode>()};
             file << list;
         }},
        {"a back-reference under another class name",
         [](MemoryFile& file) {
             WriteReferenceHead(file, "StreamNode", 1);
             WriteReferenceHead(file, "StreamNode", 2);
             file.WriteU8(0);
             file.WriteU8(0);
             file.WriteU8(0);
             WriteReferenceHead(file, "StreamLeaf", 2);  // id 2 was read as a StreamNode
             file.WriteU8(0);
         }},
        {"an owning reference to the object being read",
         [](MemoryFile& file) {
             WriteReferenceHead(file, "StreamNode", 1);
             WriteReferenceHead(file, "StreamNode", 1);
             file.WriteU8(0);
             file.WriteU8(0);
         }},
        {"a present flag of 2", [](MemoryFile& file) { file.WriteU8(2); }},
    };
    for (const auto& c : cases) {
        MemoryFile written;
        c.write(written);
        MemoryFile reader = CopyOf(written);
        const int liveBeforeRead = Counted::Live();
        EXPECT_EQ(reader.ReadObjectAs<StreamNode>(), nullptr) << c.what;
        EXPECT_TRUE(reader.HasFailed()) << c.what;
        EXPECT_EQ(Counted::Live(), liveBeforeRead) << c.what;
    }
}

TEST_F(ObjectStream, NestingUpToTheLimitReadsDeeperFails) {
    for (const std::uint32_t depth : {Core::File::kMaxObjectDepth, Core::File::kMaxObjectDepth + 1}) {
        const bool fits = depth <= Core::File::kMaxObjectDepth;
        MemoryFile file;
        file << streamtest::MakeChain(static_cast<int>(depth));
        EXPECT_EQ(file.HasFailed(), !fits) << depth;

        // The reader is fed by hand, so that it sees the deeper chain too.
        MemoryFile reader;
        for (std::uint32_t i = 0; i < depth; ++i) {
            WriteReferenceHead(reader, "StreamNode", i + 1);
        }
        for (std::uint32_t i = 0; i < 3 * depth; ++i) {
            reader.WriteU8(0);
        }
        const int liveBeforeRead = Counted::Live();
        RefPtr<StreamNode> back = reader.ReadObjectAs<StreamNode>();
        EXPECT_EQ(back != nullptr, fits) << depth;
        EXPECT_EQ(reader.HasFailed(), !fits) << depth;
        back = nullptr;
        EXPECT_EQ(Counted::Live(), liveBeforeRead) << depth;
    }
}

TEST(StringStream, TextsRoundTripAsALengthAndTheirBytes) {
    MemoryFile empty;
    empty << Core::String();
    EXPECT_EQ(BytesOf(empty), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    for (const std::size_t length : {15u, 16u, 4095u, 4096u, 4097u, 20000u}) {
        Core::String text;
        for (std::size_t i = 0; i < length; ++i) {
            text += static_cast<char>('a' + i % 26);
        }
        MemoryFile file;
        file << text;
        Core::String back;
        file >> back;
        EXPECT_EQ(back, text) << length;
        EXPECT_FALSE(file.HasFailed()) << length;
    }
}

// "kept" is the target's text before the read.
TEST(StringStream, StoredLengthsAreCheckedAgainstTheData) {
    const struct {
        std::uint32_t length;
        std::string_view bytes;
        const char* expected;
        bool fails;
    } cases[] = {
        {0, "", "kept", false},  // length 0 leaves the target unchanged
        {4, "ab\0d"sv, "ab", false},
        {0xFFFFFFFFu, "hello", "kept", true},
        {0x80000000u, "hello", "kept", true},
        {5000, "hello", "kept", true},
        {6, "hello", "kept", true},
    };
    for (const auto& c : cases) {
        MemoryFile file;
        file.WriteU32(c.length);
        file.Write(c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
        Core::String text("kept");
        file >> text;
        EXPECT_EQ(text, c.expected) << c.length;
        EXPECT_EQ(file.HasFailed(), c.fails) << c.length;
    }
}

TEST(MemoryFileStream, ReadPastTheEndCopiesNothingAndStaysFailed) {
    const std::uint8_t bytes[] = {1, 2, 3};
    MemoryFile file(bytes, sizeof(bytes));
    std::uint32_t value = 0xAABBCCDD;
    file.ReadU32(value);
    EXPECT_EQ(value, 0xAABBCCDDu);
    EXPECT_TRUE(file.HasFailed());
    // A read that would fit is refused too once the stream has failed.
    std::uint8_t byte = 9;
    file.ReadU8(byte);
    EXPECT_EQ(byte, 9);

    file.ClearBuffer();
    EXPECT_FALSE(file.HasFailed());
    EXPECT_EQ(file.GetSize(), 0u);
    file.WriteU8(4);
    file.ReadU8(byte);
    EXPECT_EQ(byte, 4);
}
