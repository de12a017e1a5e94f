#include "Core_StreamTestClasses.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
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
MemoryFile FileOf(const std::string& bytes) { return MemoryFile(bytes.data(), static_cast<std::uint32_t>(bytes.size())); }

// Every object a test made or read is gone again at its end.
class ObjectStream : public testing::Test {
    void TearDown() override { EXPECT_EQ(Counted::Live(), m_liveBefore); }
    const int m_liveBefore = Counted::Live();
};

// Reads the records from one stream, letting go of each before the next, so
// that later ids name objects only the stream still holds; true when all
// three were accepted.
bool ReadAndDrop(const std::vector<std::uint8_t>& bytes) {
    MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    int accepted = 0;
    for (int record = 0; record < 3; ++record) {
        RefPtr<StreamList> list = file.ReadObjectAs<StreamList>();
        // A failed stream never hands back an object (null alone may be valid data).
        EXPECT_FALSE(list != nullptr && file.HasFailed());
        accepted += list != nullptr;
    }
    return accepted == 3;
}

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
}

// A cycle through a plain parent pointer and a leaf shared by a list come
// back as one object each. The stream holds one reference to each object
// until it goes; an unregistered class gives null and keeps its id.
TEST_F(ObjectStream, CyclesAndSharedObjectsReadBackAsOneObject) {
    auto list = Make<StreamList>();
    auto leaf = Make<StreamLeaf>();
    auto a = MakeChain(2);
    a->child->parent = a.Get();
    list->items = {leaf, nullptr, a, leaf};
    MemoryFile file;
    file << list;
    const std::string unknown = Head("NoSuchClass", 5) + Head("StreamLeaf", 5);  // a later reference creates nothing
    file.Write(unknown.data(), static_cast<std::uint32_t>(unknown.size()));

    MemoryFile reader = CopyOf(file);
    RefPtr<StreamList> back = reader.ReadObjectAs<StreamList>();
    ASSERT_TRUE(back != nullptr && back->items.size() == 4);
    EXPECT_TRUE(back->items[1] == nullptr && back->items[3] == back->items[0]);
    EXPECT_EQ(back->items[0]->GetReferenceCount(), 3u);
    EXPECT_EQ(back->GetReferenceCount(), 2u);
    auto* backA = dynamic_cast<StreamNode*>(back->items[2].Get());
    ASSERT_TRUE(backA != nullptr && backA->child != nullptr);
    EXPECT_EQ(backA->child->parent, backA);
    EXPECT_TRUE(reader.ReadObject() == nullptr && reader.ReadObject() == nullptr && !reader.HasFailed());
}

// Each stream (after its first byte 'A', if any) fails the read and frees at
// once whatever it created, without a giant allocation for a huge length;
// without its fault each is read whole.
TEST_F(ObjectStream, MalformedReferencesFailTheRead) {
    std::string tooDeep(6 * (Core::File::kMaxObjectDepth + 1), '\0');
    for (std::uint32_t id = Core::File::kMaxObjectDepth + 1; id > 0; --id) {
        tooDeep = Head("Node", id) + tooDeep;
    }
    const std::pair<const char*, std::string> cases[] = {
        {"a child of another class than asked for", Head("Node", 1) + Head("StreamLeaf", 2) + std::string(17, '\0')},
        {"a back-reference under another class name",  // id 2 was read as a Node
         Head("Node", 1) + Head("Node", 2) + std::string(6, '\0') + Head("StreamLeaf", 2) + std::string(4, '\0')},
        {"an owning reference to the object being read", Head("Node", 1) + Head("Node", 1) + std::string(5, '\0')},
        {"a present flag of 2", "\2"},
        // A parent that nothing owns would dangle once the stream lets go of it.
        {"a plain link to an object nothing owns",
         "A\x01\x04\0\0\0Node\x01\0\0\0\0\x01\x04\0\0\0Node\x02\0\0\0\0\0\0\0\0\0\0\0\0\0"s},
        {"objects nested deeper than the limit", tooDeep},
        {"a class name of 4 GiB", "\1\xFF\xFF\xFF\xFFStreamLeaf"s},
        {"a label of 4 GiB", Head("StreamLeaf", 1) + "\3\0\0\0\0\0\x80\x3F\xFF\xFF\xFF\xFF" "abc"s},
        {"a list of 2^31 items", Head("StreamList", 1) + "\xFF\xFF\xFF\x7F"s + std::string(9, '\0')},
    };
    for (const auto& [what, bytes] : cases) {
        MemoryFile reader = FileOf(bytes);
        std::uint8_t header = 0;
        if (bytes[0] == 'A') {
            reader.ReadU8(header);
        }
        const int liveBeforeRead = Counted::Live();
        EXPECT_EQ(reader.ReadObject(), nullptr) << what;
        EXPECT_TRUE(reader.HasFailed()) << what;
        EXPECT_EQ(Counted::Live(), liveBeforeRead) << what;
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

// Records of a save: a plain link may name what an earlier record owns. A
// record whose plain link names an object nothing owns fails alone; the
// records read before it stay whole.
TEST_F(ObjectStream, RecordsOfASaveLinkIntoEachOther) {
    auto level = MakeChain(2);
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
    EXPECT_TRUE(backCamera->parent == backLevel->child.Get() && backCamera->parent->value == 5);
}

// Snapshots and packets through one reused stream. The leaf of each frame
// takes the place of the last one (on the stack, as the pool's reuse of a
// freed block would); the shared node outlives them and goes in every packet.
TEST_F(ObjectStream, EachSnapshotAfterAResetDecodesAlone) {
    auto shared = Make<StreamNode>();
    MemoryFile writer, appended, reader;
    for (std::int32_t frame = 0; frame < 3; ++frame) {
        StreamLeaf leaf;
        std::tie(leaf.number, shared->value) = std::make_tuple(frame, frame);
        writer.ClearBuffer();
        writer << &leaf << shared;
        appended << &leaf;
        reader.ClearBuffer();
        reader.Write(writer.GetData(), writer.GetSize());
        for (MemoryFile* packet : {&reader, &writer}) {
            RefPtr<StreamLeaf> backLeaf = packet->ReadObjectAs<StreamLeaf>();
            RefPtr<StreamNode> backNode = packet->ReadObjectAs<StreamNode>();
            ASSERT_TRUE(backLeaf != nullptr && backNode != nullptr) << frame;
            EXPECT_EQ(std::tie(backLeaf->number, backNode->value), std::make_tuple(frame, std::uint32_t(frame)));
        }
    }
    for (std::int32_t frame = 0; frame < 3; ++frame) {
        RefPtr<StreamLeaf> back = appended.ReadObjectAs<StreamLeaf>();
        EXPECT_TRUE(back != nullptr && back->number == frame) << frame;
    }
    // A written object is held while its id stands, so no other can take its place.
    const int live = Counted::Live();
    writer << Make<StreamLeaf>();
    EXPECT_EQ(Counted::Live(), live + 1);
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
        EXPECT_TRUE(text == expected && file.HasFailed() == fails) << length;
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

// Every truncation and random damage of a valid stream (bytes overwritten,
// 32-bit fields such as ids, lengths and counts replaced by telling values)
// is read without a fault (the sanitizers watch), and every object a read
// created is gone once its stream and results are.
TEST(HostileStream, TruncatedAndMutatedStreamsNeverLeakOrCrash) {
    constexpr std::size_t kMutations = 20000;
    const std::vector<std::uint8_t> valid = ValidStream();
    const std::uint32_t telling[] = {0, 1, 2, 3, 5, 255, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    std::mt19937 random(20240611);
    const int live = Counted::Live();
    std::size_t accepted = 0;
    EXPECT_TRUE(ReadAndDrop(valid));
    for (std::size_t round = 0; round < valid.size() + kMutations; ++round) {
        std::vector<std::uint8_t> bytes = valid;
        const bool truncated = round < valid.size();
        bytes.resize(truncated ? round : bytes.size());
        for (std::size_t change = 0; !truncated && change <= round % 3; ++change) {
            const std::size_t at = random() % (bytes.size() - 4);
            const std::uint32_t value = random() % 2 == 0 ? random() % 256 : telling[random() % std::size(telling)];
            for (std::size_t i = 0; i < (value < 256 ? 1 : 4); ++i) {
                bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
        }
        const bool read = ReadAndDrop(bytes);
        EXPECT_FALSE(read && truncated) << round;
        accepted += read;
        ASSERT_EQ(Counted::Live(), live) << "round " << round;
    }
    // Both outcomes occur among the mutations, so both paths were exercised.
    EXPECT_GT(accepted, 0u);
    EXPECT_LT(accepted, kMutations);
}
