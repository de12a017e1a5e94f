#include "Core_StreamTestClasses.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

using namespace std::literals;
using namespace streamtest;
using Core::MemoryFile;
using Core::RefPtr;

namespace {

MemoryFile CopyOf(const MemoryFile& file) { return MemoryFile(file.GetData(), file.GetSize()); }

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
    std::tie(leaf->number, leaf->weight, leaf->label) = std::make_tuple(-2, 1.5f, "ab");
    MemoryFile file;
    file << leaf << leaf << static_cast<const Core::Object*>(nullptr) << Make<StreamLeaf>();
    const auto head = "\x01\x0A\0\0\0StreamLeaf"sv;
    const std::string expected = std::string(head) + "\1\0\0\0\xFE\xFF\xFF\xFF\0\0\xC0\x3F\2\0\0\0ab"s +
                                 std::string(head) + "\1\0\0\0\0"s + std::string(head) + std::string("\2", 1) +
                                 std::string(15, '\0');
    const std::vector<std::uint8_t> bytes = BytesOf(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);

    MemoryFile reader = CopyOf(file);
    RefPtr<StreamLeaf> first = reader.ReadObjectAs<StreamLeaf>();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::tie(first->number, first->weight, first->label), std::make_tuple(-2, 1.5f, Core::String("ab")));
    EXPECT_EQ(reader.ReadObjectAs<StreamLeaf>(), first.Get());
    EXPECT_EQ(reader.ReadObject(), nullptr);
    RefPtr<StreamLeaf> second = reader.ReadObjectAs<StreamLeaf>();
    EXPECT_TRUE(second != nullptr && second != first && !reader.HasFailed());
}

// A cycle through a plain parent pointer and a leaf shared by a list come
// back as one object each. The stream holds one reference to each object
// until it goes; an unregistered class gives null and keeps its id.
TEST_F(ObjectStream, CyclesAndSharedObjectsReadBackAsOneObject) {
    auto list = Make<StreamList>();
    auto leaf = Make<StreamLeaf>();
    auto a = Make<StreamNode>();
    a->child = Make<StreamNode>();
    a->child->parent = a.Get();
    list->items = {leaf, nullptr, a, leaf};
    MemoryFile file;
    file << list;
    WriteReferenceHead(file, "NoSuchClass", 5);
    WriteReferenceHead(file, "StreamLeaf", 5);  // a later reference to id 5 creates nothing

    MemoryFile reader = CopyOf(file);
    RefPtr<StreamList> back = reader.ReadObjectAs<StreamList>();
    ASSERT_TRUE(back != nullptr && back->items.size() == 4);
    EXPECT_NE(dynamic_cast<StreamLeaf*>(back->items[0].Get()), nullptr);
    EXPECT_EQ(back->items[1], nullptr);
    EXPECT_EQ(back->items[3], back->items[0]);
    EXPECT_EQ(back->items[0]->GetReferenceCount(), 3u);
    EXPECT_EQ(back->GetReferenceCount(), 2u);
    auto* backA = dynamic_cast<StreamNode*>(back->items[2].Get());
    ASSERT_TRUE(backA != nullptr && backA->child != nullptr);
    EXPECT_EQ(backA->child->parent, backA);
    EXPECT_EQ(reader.ReadObject(), nullptr);
    EXPECT_EQ(reader.ReadObject(), nullptr);
    EXPECT_FALSE(reader.HasFailed());
}

// Each stream, read as a Node (after the first byte 'A' if any), fails and
// frees at once whatever it created; without its fault each is read whole.
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
             file.Write("A\x01\x04\0\0\0Node\x01\0\0\0\0\x01\x04\0\0\0Node\x02\0\0\0\0\0\0\0\0\0\0\0\0\0", 38);
         }},
        {"objects nested deeper than the limit",
         [](MemoryFile& file) {
             for (std::uint32_t id = 1; id <= Core::File::kMaxObjectDepth + 1; ++id) {
                 WriteReferenceHead(file, "Node", id);
             }
             file.Write(std::vector<std::uint8_t>(6 * (Core::File::kMaxObjectDepth + 1)).data(),
                        6 * (Core::File::kMaxObjectDepth + 1));
         }},
    };
    for (const auto& c : cases) {
        MemoryFile written;
        c.write(written);
        MemoryFile reader = CopyOf(written);
        std::uint8_t header = 0;
        if (reader.GetData()[0] == 'A') {
            reader.ReadU8(header);
        }
        const int liveBeforeRead = Counted::Live();
        EXPECT_EQ(reader.ReadObjectAs<StreamNode>(), nullptr) << c.what;
        EXPECT_TRUE(reader.HasFailed()) << c.what;
        EXPECT_EQ(Counted::Live(), liveBeforeRead) << c.what;
    }
}

// The writer refuses what the reader would; the deepest graph it takes reads back.
TEST_F(ObjectStream, NestingUpToTheLimitRoundTrips) {
    MemoryFile deepest;
    deepest << MakeChain(Core::File::kMaxObjectDepth);
    EXPECT_NE(CopyOf(deepest).ReadObjectAs<StreamNode>(), nullptr);
    MemoryFile deeper;
    deeper << MakeChain(Core::File::kMaxObjectDepth + 1);
    EXPECT_TRUE(deeper.HasFailed());
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
        MemoryFile reader = CopyOf(*written);
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

    MemoryFile reader = CopyOf(file);
    RefPtr<StreamNode> backLevel = reader.ReadObjectAs<StreamNode>();
    RefPtr<StreamNode> backCamera = reader.ReadObjectAs<StreamNode>();
    EXPECT_EQ(reader.ReadObjectAs<StreamNode>(), backLevel.Get());
    EXPECT_EQ(reader.ReadObjectAs<StreamNode>(), nullptr);
    EXPECT_TRUE(reader.HasFailed());
    reader.ClearBuffer();
    ASSERT_TRUE(backCamera != nullptr && backLevel != nullptr);
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
        reader.Write(writer.GetData(), writer.GetSize());
        for (MemoryFile* packet : {&reader, &writer}) {
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

// "kept" is the target's text before the read. Long texts cross the pieces
// a read takes. A failed stream refuses even a read that would fit, until
// ClearBuffer; a short read copies nothing.
TEST(StringStream, StoredLengthsAreCheckedAgainstTheData) {
    std::vector<std::tuple<std::uint32_t, std::string, Core::String, bool>> cases = {
        {0, "", "kept", false},         {4, "ab\0d"s, "ab", false},     {0xFFFFFFFFu, "hello", "kept", true},
        {0x80000000u, "hello", "kept", true}, {5000, "hello", "kept", true}, {6, "hello", "kept", true}};
    for (const std::uint32_t length : {16u, 4095u, 4096u, 4097u, 20000u}) {
        std::string text(length, 'x');
        text[length - 1] = 'y';
        cases.emplace_back(length, text, text.c_str(), false);
    }
    for (const auto& [length, bytes, expected, fails] : cases) {
        MemoryFile file;
        file.WriteU32(length);
        file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        Core::String text("kept");
        file >> text;
        EXPECT_EQ(text, expected) << length;
        EXPECT_EQ(file.HasFailed(), fails) << length;
        std::uint8_t byte = 9;
        file.ReadU8(byte);
        EXPECT_EQ(byte, 9) << length;
        file.ClearBuffer();
        file.WriteU8(4);
        file.ReadU8(byte);
        EXPECT_TRUE(byte == 4 && !file.HasFailed());
    }
    std::uint32_t value = 0xAABBCCDD;
    MemoryFile("\1\2\3", 3).ReadU32(value);
    EXPECT_EQ(value, 0xAABBCCDDu);
}
