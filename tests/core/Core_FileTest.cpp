#include "Core_StreamTestClasses.h"

#include "core/Core_MemoryFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using Core::MemoryFile;
using Core::RefPtr;
using streamtest::BytesOf;
using streamtest::Counted;
using streamtest::Make;
using streamtest::WriteReferenceHead;
using streamtest::StreamLeaf;
using streamtest::StreamList;
using streamtest::StreamNode;

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

TEST_F(ObjectStream, SameObjectTwiceIsStoredOnceThenByReference) {
    auto leaf = Make<StreamLeaf>();
    leaf->number = 7;
    leaf->weight = 1.5f;
    leaf->label = "ab";
    MemoryFile file;
    file << leaf << leaf;

    const std::vector<std::uint8_t> expected = {
        0x01, 0x0A, 0x00, 0x00, 0x00, 'S', 't', 'r', 'e', 'a', 'm', 'L', 'e', 'a', 'f', 0x01, 0x00, 0x00, 0x00,
        0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x3F, 0x02, 0x00, 0x00, 0x00, 'a', 'b',
        0x01, 0x0A, 0x00, 0x00, 0x00, 'S', 't', 'r', 'e', 'a', 'm', 'L', 'e', 'a', 'f', 0x01, 0x00, 0x00, 0x00,
    };
    EXPECT_EQ(BytesOf(file), expected);
    EXPECT_FALSE(file.HasFailed());
}

TEST_F(ObjectStream, NullIsOneZeroByteAndReadsBackAsNull) {
    MemoryFile file;
    file << static_cast<const Core::Object*>(nullptr);
    EXPECT_EQ(BytesOf(file), std::vector<std::uint8_t>{0x00});
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_FALSE(file.HasFailed());
}

TEST_F(ObjectStream, IdsCountUpInFirstWriteOrder) {
    auto a = Make<StreamLeaf>();
    auto b = Make<StreamLeaf>();
    MemoryFile file;
    file << a << b << a;
    MemoryFile reader = CopyOf(file);
    // Flag, name, id: the id of each reference sits 15 bytes after its start.
    const std::size_t leafBytes = 19 + 4 + 4 + 4;
    const std::vector<std::uint8_t> bytes = BytesOf(file);
    EXPECT_EQ(bytes[15], 1);
    EXPECT_EQ(bytes[leafBytes + 15], 2);
    EXPECT_EQ(bytes[2 * leafBytes + 15], 1);
    EXPECT_EQ(bytes.size(), 2 * leafBytes + 19);

    RefPtr<StreamLeaf> first = reader.ReadObjectAs<StreamLeaf>();
    RefPtr<StreamLeaf> second = reader.ReadObjectAs<StreamLeaf>();
    RefPtr<StreamLeaf> third = reader.ReadObjectAs<StreamLeaf>();
    EXPECT_NE(first, second);
    EXPECT_EQ(first, third);
    EXPECT_EQ(Counted::Loads(), 2);
}

TEST_F(ObjectStream, CycleReadsBackAsTheSameObject) {
    auto a = Make<StreamNode>();
    auto b = Make<StreamNode>();
    a->child = b;
    b->peer = a.Get();
    MemoryFile file;
    file << a;

    MemoryFile reader = CopyOf(file);
    StreamNode* readA = reader.ReadObjectAs<StreamNode>();
    ASSERT_NE(readA, nullptr);
    // Returned unowned, as created: the caller takes the first reference.
    EXPECT_EQ(readA->GetReferenceCount(), 0u);
    RefPtr<StreamNode> holder(readA);
    ASSERT_NE(readA->child, nullptr);
    EXPECT_EQ(readA->child->GetReferenceCount(), 1u);
    EXPECT_EQ(readA->child->peer, readA);
    EXPECT_FALSE(reader.HasFailed());
}

TEST_F(ObjectStream, SharedSubObjectIsReadOnce) {
    auto shared = Make<StreamLeaf>();
    auto a = Make<StreamNode>();
    auto b = Make<StreamNode>();
    a->child = b;
    a->leaf = shared;
    b->leaf = shared;
    MemoryFile file;
    file << a;

    MemoryFile reader = CopyOf(file);
    Counted::Reset();
    RefPtr<StreamNode> back = reader.ReadObjectAs<StreamNode>();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->leaf, back->child->leaf);
    EXPECT_EQ(back->leaf->GetReferenceCount(), 2u);
    EXPECT_EQ(Counted::Loads(), 3);
}

TEST_F(ObjectStream, GraphsWrittenOneAfterAnotherShareTheirObjects) {
    auto leaf = Make<StreamLeaf>();
    auto a = Make<StreamNode>();
    auto b = Make<StreamNode>();
    a->leaf = leaf;
    b->leaf = leaf;
    MemoryFile file;
    file << a << b;

    MemoryFile reader = CopyOf(file);
    RefPtr<StreamNode> readA = reader.ReadObjectAs<StreamNode>();
    RefPtr<StreamNode> readB = reader.ReadObjectAs<StreamNode>();
    ASSERT_NE(readB, nullptr);
    EXPECT_EQ(readA->leaf, readB->leaf);
}

TEST_F(ObjectStream, ObjectOnlyPointedAtLivesAsLongAsTheStream) {
    auto a = Make<StreamNode>();
    auto target = Make<StreamNode>();
    a->peer = target.Get();
    MemoryFile file;
    file << a;
    const int liveBeforeRead = Counted::Live();
    {
        MemoryFile reader = CopyOf(file);
        RefPtr<StreamNode> back = reader.ReadObjectAs<StreamNode>();
        ASSERT_NE(back, nullptr);
        ASSERT_NE(back->peer, nullptr);
        // Nothing took the peer: the stream keeps it for later reads.
        EXPECT_EQ(back->peer->GetReferenceCount(), 1u);
        EXPECT_EQ(Counted::Live(), liveBeforeRead + 2);
        back->peer = nullptr;
    }
    EXPECT_EQ(Counted::Live(), liveBeforeRead);
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

TEST_F(ObjectStream, ListOfMixedObjectsRoundTrips) {
    auto list = Make<StreamList>();
    auto leaf = Make<StreamLeaf>();
    list->items = {leaf, nullptr, Make<StreamNode>(), leaf};
    MemoryFile file;
    file << list;
    MemoryFile reader = CopyOf(file);
    RefPtr<StreamList> back = reader.ReadObjectAs<StreamList>();
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->items.size(), 4u);
    EXPECT_NE(dynamic_cast<StreamLeaf*>(back->items[0].Get()), nullptr);
    EXPECT_EQ(back->items[1], nullptr);
    EXPECT_NE(dynamic_cast<StreamNode*>(back->items[2].Get()), nullptr);
    EXPECT_EQ(back->items[0], back->items[3]);
}

TEST_F(ObjectStream, TypedReadOfAnotherClassFailsAndFreesWhatItRead) {
    auto node = Make<StreamNode>();
    node->child = Make<StreamNode>();
    MemoryFile file;
    file << node;
    const int liveBeforeRead = Counted::Live();

    MemoryFile reader = CopyOf(file);
    EXPECT_EQ(reader.ReadObjectAs<StreamLeaf>(), nullptr);
    EXPECT_TRUE(reader.HasFailed());
    EXPECT_EQ(Counted::Live(), liveBeforeRead);
}

TEST_F(ObjectStream, BackReferenceUnderAnotherClassNameFails) {
    auto leaf = Make<StreamLeaf>();
    MemoryFile file;
    file << leaf;
    WriteReferenceHead(file, "StreamNode", 1);  // id 1 was read as a StreamLeaf

    RefPtr<Core::Object> first = file.ReadObject();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_TRUE(file.HasFailed());
}

TEST_F(ObjectStream, OwningReferenceToAnObjectBeingReadFails) {
    // A node whose owned child is the node itself: a cycle nothing could free.
    MemoryFile file;
    WriteReferenceHead(file, "StreamNode", 1);
    WriteReferenceHead(file, "StreamNode", 1);
    file.WriteU8(0);
    file.WriteU8(0);
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_TRUE(file.HasFailed());
}

TEST_F(ObjectStream, PresentFlagOtherThanZeroOrOneFails) {
    const std::uint8_t bytes[] = {0x02};
    MemoryFile file(bytes, sizeof(bytes));
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_TRUE(file.HasFailed());
}

TEST_F(ObjectStream, NestingUpToTheLimitReadsDeeperFails) {
    for (const std::uint32_t depth : {Core::File::kMaxObjectDepth, Core::File::kMaxObjectDepth + 1}) {
        RefPtr<StreamNode> chain = streamtest::MakeChain(static_cast<int>(depth));
        const bool fits = depth <= Core::File::kMaxObjectDepth;
        MemoryFile file;
        file << chain;
        EXPECT_EQ(file.HasFailed(), !fits) << depth;

        // The reader is fed by hand, so that it sees the deeper chain too.
        MemoryFile reader;
        for (std::uint32_t i = 0; i < depth; ++i) {
            WriteReferenceHead(reader, "StreamNode", i + 1);
        }
        for (std::uint32_t i = 0; i < depth; ++i) {
            reader.WriteU8(0);
            reader.WriteU8(0);
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

TEST(StringStream, EmptyStringIsTheLengthAlone) {
    MemoryFile file;
    file << Core::String();
    EXPECT_EQ(BytesOf(file), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(StringStream, LengthZeroLeavesTheTargetUnchanged) {
    MemoryFile file;
    file.WriteU32(0);
    Core::String text("kept");
    file >> text;
    EXPECT_EQ(text, "kept");
    EXPECT_FALSE(file.HasFailed());
}

TEST(StringStream, TextEndsAtTheFirstZeroByte) {
    MemoryFile file;
    file.WriteU32(4);
    file.Write("ab\0d", 4);
    Core::String text("old");
    file >> text;
    EXPECT_EQ(text, "ab");
    EXPECT_FALSE(file.HasFailed());
}

TEST(StringStream, LongTextsRoundTrip) {
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

TEST(StringStream, LengthBeyondTheDataFailsAndLeavesTheTargetUnchanged) {
    for (const std::uint32_t length : {0xFFFFFFFFu, 0x80000000u, 5000u, 6u}) {
        MemoryFile file;
        file.WriteU32(length);
        file.Write("hello", 5);
        Core::String text("kept");
        file >> text;
        EXPECT_EQ(text, "kept") << length;
        EXPECT_TRUE(file.HasFailed()) << length;
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

TEST(MemoryFileStream, TypedFieldsAreLittleEndian) {
    MemoryFile file;
    file.WriteU8(0x12);
    file.WriteU32(0x12345678);
    file.WriteI32(-2);
    file.WriteF32(1.0f);
    const std::vector<std::uint8_t> expected = {0x12, 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF,
                                                0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(BytesOf(file), expected);
    std::uint8_t u8 = 0;
    std::uint32_t u32 = 0;
    std::int32_t i32 = 0;
    float f32 = 0.0f;
    file.ReadU8(u8);
    file.ReadU32(u32);
    file.ReadI32(i32);
    file.ReadF32(f32);
    EXPECT_EQ(u8, 0x12);
    EXPECT_EQ(u32, 0x12345678u);
    EXPECT_EQ(i32, -2);
    EXPECT_EQ(f32, 1.0f);
}
