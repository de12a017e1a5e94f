#include "Core_StreamTestClasses.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string_view>
#include <tuple>
#include <vector>

using namespace std::string_view_literals;
using namespace streamtest;
using Core::MemoryFile;
using Core::RefPtr;

namespace {

MemoryFile CopyOf(const std::vector<std::uint8_t>& bytes) {
    return MemoryFile(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

// Every object a test made or read is gone again at its end.
class ObjectStream : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(Counted::Live(), m_liveBefore); }

private:
    int m_liveBefore = Counted::Live();
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
    const std::vector<std::uint8_t> head = {0x01, 0x0A, 0, 0, 0, 'S', 't', 'r', 'e', 'a', 'm', 'L', 'e', 'a', 'f'};
    std::vector<std::uint8_t> expected = head;
    expected.insert(expected.end(), {1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xC0, 0x3F, 2, 0, 0, 0, 'a', 'b'});
    expected.insert(expected.end(), head.begin(), head.end());
    expected.insert(expected.end(), {1, 0, 0, 0, 0});
    expected.insert(expected.end(), head.begin(), head.end());
    expected.insert(expected.end(), {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(BytesOf(file), expected);

    MemoryFile reader = CopyOf(BytesOf(file));
    RefPtr<StreamLeaf> first = reader.ReadObjectAs<StreamLeaf>();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::tie(first->number, first->weight, first->label), std::make_tuple(-2, 1.5f, Core::String("ab")));
    EXPECT_EQ(reader.ReadObjectAs<StreamLeaf>(), first.Get());
    EXPECT_EQ(reader.ReadObject(), nullptr);
    RefPtr<StreamLeaf> second = reader.ReadObjectAs<StreamLeaf>();
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(reader.HasFailed());
}

// A cycle through a plain parent pointer and a leaf shared by a list and a
// node come back as one object each; the stream holds one reference to each
// object until it goes.
TEST_F(ObjectStream, CyclesAndSharedObjectsReadBackAsOneObject) {
    auto list = Make<StreamList>();
    auto leaf = Make<StreamLeaf>();
    auto a = Make<StreamNode>();
    a->child = Make<StreamNode>();
    a->child->parent = a.Get();
    list->items = {leaf, nullptr, a, leaf};
    MemoryFile file;
    file << list;

    MemoryFile reader = CopyOf(BytesOf(file));
    RefPtr<StreamList> back = reader.ReadObjectAs<StreamList>();
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->items.size(), 4u);
    EXPECT_NE(dynamic_cast<StreamLeaf*>(back->items[0].Get()), nullptr);
    EXPECT_EQ(back->items[1], nullptr);
    EXPECT_EQ(back->items[3], back->items[0]);
    EXPECT_EQ(back->items[0]->GetReferenceCount(), 3u);
    auto* backA = dynamic_cast<StreamNode*>(back->items[2].Get());
    ASSERT_NE(backA, nullptr);
    ASSERT_NE(backA->child, nullptr);
    EXPECT_EQ(backA->child->parent, backA);
    EXPECT_EQ(back->GetReferenceCount(), 2u);
}

TEST_F(ObjectStream, UnregisteredClassGivesNullAndKeepsItsId) {
    MemoryFile file;
    WriteReferenceHead(file, "NoSuchClass", 5);
    WriteReferenceHead(file, "StreamLeaf", 5);  // a later reference to id 5 creates nothing
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_EQ(file.ReadObject(), nullptr);
    EXPECT_FALSE(file.HasFailed());
}

// Each stream, read as a Node after an optional first byte, fails and frees
// at once whatever it created; without the fault it names, each is read whole.
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
             WriteReferenceHead(file, "Node", 1);
             WriteReferenceHead(file, "Node", 2);
             file.Write("\0\0\0\0\0\0", 6);
             WriteReferenceHead(file, "StreamLeaf", 2);  // id 2 was read as a Node
             file.Write("\0\0\0\0", 4);
         }},
        {"an owning reference to the object being read",
         [](MemoryFile& file) {
             WriteReferenceHead(file, "Node", 1);
             WriteReferenceHead(file, "Node", 1);
             file.Write("\0\0\0\0\0", 5);
         }},
        {"a present flag of 2", [](MemoryFile& file) { file.WriteU8(2); }},
        // A parent that nothing owns would dangle once the stream lets go of it.
        {"a plain link to an object nothing owns",
         [](MemoryFile& file) {
             const auto bytes = "\x41\x01\x04\0\0\0Node\x01\0\0\0\0\x01\x04\0\0\0Node\x02\0\0\0\0\0\0\0\0\0\0\0\0\0"sv;
             ASSERT_EQ(bytes.size(), 38u);
             file.Write(bytes.data(), 38);
         }},
    };
    for (const auto& c : cases) {
        MemoryFile written;
        c.write(written);
        MemoryFile reader = CopyOf(BytesOf(written));
        std::uint8_t header = 0;
        if (reader.GetData()[0] == 0x41) {
            reader.ReadU8(header);
        }
        const int liveBeforeRead = Counted::Live();
        EXPECT_EQ(reader.ReadObjectAs<StreamNode>(), nullptr) << c.what;
        EXPECT_TRUE(reader.HasFailed()) << c.what;
        EXPECT_EQ(Counted::Live(), liveBeforeRead) << c.what;
    }
}

// A later reference, in the data or hostile, may name an object the caller
// has let go of: the stream still holds it, so the id resolves safely.
TEST_F(ObjectStream, AnIdNamesTheSameLiveObjectUntilTheStreamIsReset) {
    auto leaf = Make<StreamLeaf>();
    leaf->number = 7;
    MemoryFile twice;
    twice << leaf << leaf;
    MemoryFile inList;
    inList << leaf;
    WriteReferenceHead(inList, "StreamList", 2);
    inList.WriteU32(1);
    WriteReferenceHead(inList, "StreamLeaf", 1);
    for (MemoryFile* written : {&twice, &inList}) {
        MemoryFile reader = CopyOf(BytesOf(*written));
        RefPtr<Core::Object> first(reader.ReadObject());
        ASSERT_NE(first, nullptr);
        first = nullptr;
        RefPtr<Core::Object> second(reader.ReadObject());
        auto* list = dynamic_cast<StreamList*>(second.Get());
        auto* again = static_cast<StreamLeaf*>(list != nullptr ? list->items.at(0).Get() : second.Get());
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->number, 7);
        EXPECT_FALSE(reader.HasFailed());
    }
}

// Records of a save: a plain link may name what an earlier record owns. A
// record whose plain link names an object nothing owns fails alone; the
// records read before it stay whole.
TEST_F(ObjectStream, RecordsOfASaveLinkIntoEachOther) {
    auto level = Make<StreamNode>();
    level->child = Make<StreamNode>();
    level->child->value = 5;
    auto camera = Make<StreamNode>();
    camera->parent = level->child.Get();
    auto stray = Make<StreamNode>();
    auto orphan = Make<StreamNode>();
    stray->parent = orphan.Get();
    MemoryFile file;
    file << level << camera << level << stray;

    MemoryFile reader = CopyOf(BytesOf(file));
    RefPtr<StreamNode> backLevel = reader.ReadObjectAs<StreamNode>();
    RefPtr<StreamNode> backCamera = reader.ReadObjectAs<StreamNode>();
    EXPECT_EQ(reader.ReadObjectAs<StreamNode>(), backLevel.Get());
    EXPECT_EQ(reader.ReadObjectAs<StreamNode>(), nullptr);
    EXPECT_TRUE(reader.HasFailed());
    reader.ClearBuffer();
    ASSERT_NE(backCamera, nullptr);
    ASSERT_NE(backLevel, nullptr);
    EXPECT_EQ(backCamera->parent, backLevel->child.Get());
    EXPECT_EQ(backCamera->parent->value, 5u);
}

// Snapshots and packets through one reused stream. The leaf of each frame
// takes the place of the last one (on the stack, as the pool's reuse of a
// freed block would); the shared node outlives them and goes in every packet.
TEST_F(ObjectStream, EachSnapshotAfterAResetDecodesAlone) {
    auto shared = Make<StreamNode>();
    MemoryFile writer;
    MemoryFile appended;
    MemoryFile reader;
    for (std::int32_t frame = 0; frame < 3; ++frame) {
        StreamLeaf leaf;
        leaf.number = frame;
        shared->value = static_cast<std::uint32_t>(frame);
        writer.ClearBuffer();
        writer << &leaf << shared;
        appended << &leaf;
        reader.ClearBuffer();
        for (MemoryFile* packet : {&reader, &writer}) {
            if (packet == &reader) {
                reader.Write(writer.GetData(), writer.GetSize());
            }
            RefPtr<StreamLeaf> backLeaf = packet->ReadObjectAs<StreamLeaf>();
            RefPtr<StreamNode> backNode = packet->ReadObjectAs<StreamNode>();
            ASSERT_TRUE(backLeaf != nullptr && backNode != nullptr) << frame;
            EXPECT_EQ(backLeaf->number, frame);
            EXPECT_EQ(backNode->value, static_cast<std::uint32_t>(frame));
        }
    }
    for (std::int32_t frame = 0; frame < 3; ++frame) {
        RefPtr<StreamLeaf> back = appended.ReadObjectAs<StreamLeaf>();
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->number, frame);
    }
    // A written object is held while its id stands, so no other can take its place.
    const int live = Counted::Live();
    MemoryFile holder;
    holder << Make<StreamLeaf>();
    EXPECT_EQ(Counted::Live(), live + 1);
    holder.ResetObjectTables();
    EXPECT_EQ(Counted::Live(), live);
}

TEST_F(ObjectStream, NestingUpToTheLimitReadsDeeperFails) {
    for (const std::uint32_t depth : {Core::File::kMaxObjectDepth, Core::File::kMaxObjectDepth + 1}) {
        const bool fits = depth <= Core::File::kMaxObjectDepth;
        MemoryFile file;
        file << MakeChain(static_cast<int>(depth));
        EXPECT_EQ(file.HasFailed(), !fits) << depth;

        // The reader is fed by hand, so that it sees the deeper chain too.
        MemoryFile reader;
        for (std::uint32_t i = 0; i < depth; ++i) {
            WriteReferenceHead(reader, "Node", i + 1);
        }
        for (std::uint32_t i = 0; i < 6 * depth; ++i) {
            reader.WriteU8(0);
        }
        EXPECT_EQ(reader.ReadObjectAs<StreamNode>() != nullptr, fits) << depth;
        EXPECT_EQ(reader.HasFailed(), !fits) << depth;
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

// "kept" is the target's text before the read. A failed stream refuses even
// a read that would fit, until ClearBuffer; a short read copies nothing.
TEST(StringStream, StoredLengthsAreCheckedAgainstTheData) {
    const struct {
        std::uint32_t length;
        std::string_view bytes;
        const char* expected;
        bool fails;
    } cases[] = {
        {0, "", "kept", false}, {4, "ab\0d"sv, "ab", false}, {0xFFFFFFFFu, "hello", "kept", true},
        {0x80000000u, "hello", "kept", true}, {5000, "hello", "kept", true}, {6, "hello", "kept", true},
    };
    for (const auto& c : cases) {
        MemoryFile file;
        file.WriteU32(c.length);
        file.Write(c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
        Core::String text("kept");
        file >> text;
        EXPECT_EQ(text, c.expected) << c.length;
        EXPECT_EQ(file.HasFailed(), c.fails) << c.length;
        std::uint8_t byte = 9;
        file.ReadU8(byte);
        EXPECT_EQ(byte, 9) << c.length;
        file.ClearBuffer();
        file.WriteU8(4);
        file.ReadU8(byte);
        EXPECT_EQ(byte, 4);
        EXPECT_FALSE(file.HasFailed());
    }
    std::uint32_t value = 0xAABBCCDD;
    MemoryFile("\1\2\3", 3).ReadU32(value);
    EXPECT_EQ(value, 0xAABBCCDDu);
}
