#include "Core_StreamTestClasses.h"

#include "core/Core_DiskFile.h"
#include "core/Core_MemoryFile.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Core::DiskFile;
using Core::MemoryFile;
using Core::RefPtr;
using streamtest::Make;
using streamtest::StreamLeaf;
using streamtest::StreamNode;

namespace {

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A node with a child pointing back at it and a leaf they share.
RefPtr<StreamNode> MakeGraph() {
    RefPtr<StreamNode> root = Make<StreamNode>();
    RefPtr<StreamNode> child = Make<StreamNode>();
    RefPtr<StreamLeaf> leaf = Make<StreamLeaf>();
    leaf->number = 42;
    leaf->weight = 0.5f;
    leaf->label = "shared leaf";
    root->child = child;
    root->leaf = leaf;
    child->peer = root.Get();
    child->leaf = leaf;
    return root;
}

}  // namespace

TEST(DiskFileStream, HoldsTheSameBytesAsAMemoryFile) {
    testsupport::TempDirectory directory;
    const std::string path = directory.Path() + "/graph.bin";
    RefPtr<StreamNode> graph = MakeGraph();

    MemoryFile memory;
    memory << graph << Core::String("tail");
    DiskFile disk(path, DiskFile::kModeWrite);
    disk << graph << Core::String("tail");
    disk.Close();
    EXPECT_FALSE(disk.HasFailed());
    EXPECT_EQ(FileBytes(path), streamtest::BytesOf(memory));
}

TEST(DiskFileStream, GraphRoundTrips) {
    testsupport::TempDirectory directory;
    const std::string path = directory.Path() + "/graph.bin";
    {
        DiskFile writer(path, DiskFile::kModeWrite);
        writer << MakeGraph();
    }
    DiskFile reader(path, DiskFile::kModeRead);
    RefPtr<StreamNode> back = reader.ReadObjectAs<StreamNode>();
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->child, nullptr);
    EXPECT_EQ(back->child->peer, back.Get());
    EXPECT_EQ(back->leaf, back->child->leaf);
    EXPECT_EQ(back->leaf->number, 42);
    EXPECT_EQ(back->leaf->weight, 0.5f);
    EXPECT_EQ(back->leaf->label, "shared leaf");
    EXPECT_FALSE(reader.HasFailed());
}

TEST(DiskFileStream, EnginePathsWithBackslashesAndOtherCaseOpen) {
    testsupport::TempDirectory directory;
    directory.WriteFile("Saves/Slot.bin", std::string("\x03\x00\x00\x00" "abc", 7));
    DiskFile reader(directory.Path() + "\\saves\\SLOT.bin", DiskFile::kModeRead);
    ASSERT_TRUE(reader.IsOpen());
    Core::String text;
    reader >> text;
    EXPECT_EQ(text, "abc");
}

TEST(DiskFileStream, CloseRestartsIdsAtOne) {
    testsupport::TempDirectory directory;
    RefPtr<StreamLeaf> first = Make<StreamLeaf>();
    RefPtr<StreamLeaf> second = Make<StreamLeaf>();
    DiskFile file(directory.Path() + "/one.bin", DiskFile::kModeWrite);
    file << first << second;
    file.Close();
    ASSERT_TRUE(file.Open(directory.Path() + "/two.bin", DiskFile::kModeWrite));
    file << second;
    file.Close();

    const std::vector<std::uint8_t> bytes = FileBytes(directory.Path() + "/two.bin");
    ASSERT_GE(bytes.size(), 19u);
    EXPECT_EQ(bytes[15], 1);  // id after the flag and "StreamLeaf"
}

TEST(DiskFileStream, UnopenableFileFailsAndLeavesTargetsUnchanged) {
    testsupport::TempDirectory directory;
    const std::string missing = directory.Path() + "/missing.bin";
    struct Case {
        std::string path;
        std::int32_t mode;
    };
    const Case cases[] = {
        {missing, DiskFile::kModeRead},
        {directory.Path() + "/no/such/folder/file.bin", DiskFile::kModeWrite},
        {directory.Path(), DiskFile::kModeRead},  // a folder, not a file
        {missing, 2},
        {missing, -1},
        {"", DiskFile::kModeRead},
    };
    for (const Case& c : cases) {
        DiskFile file(c.path, c.mode);
        EXPECT_FALSE(file.IsOpen()) << c.path << " " << c.mode;
        EXPECT_TRUE(file.HasFailed()) << c.path << " " << c.mode;
        std::uint32_t value = 77;
        file.ReadU32(value);
        Core::String text("kept");
        file >> text;
        EXPECT_EQ(value, 77u);
        EXPECT_EQ(text, "kept");
        EXPECT_EQ(file.ReadObject(), nullptr);
        file.WriteU32(1);
    }
    // Modes other than writing never create the file.
    EXPECT_FALSE(std::ifstream(missing).good());
}

TEST(DiskFileStream, ReadPastTheEndFailsAndCopiesNothing) {
    testsupport::TempDirectory directory;
    const std::string path = directory.WriteFile("short.bin", "\x01\x02");
    DiskFile file(path, DiskFile::kModeRead);
    std::uint32_t value = 0xAABBCCDD;
    file.ReadU32(value);
    EXPECT_EQ(value, 0xAABBCCDDu);
    EXPECT_TRUE(file.HasFailed());
}

TEST(DiskFileStream, HugeStringLengthFailsAndLeavesTheTargetUnchanged) {
    testsupport::TempDirectory directory;
    const std::string path = directory.WriteFile("huge.bin", std::string("\xFF\xFF\xFF\xFF" "abc", 7));
    DiskFile file(path, DiskFile::kModeRead);
    Core::String text("kept");
    file >> text;
    EXPECT_EQ(text, "kept");
    EXPECT_TRUE(file.HasFailed());
}

TEST(DiskFileStream, ReadingAWriterOrWritingAReaderFails) {
    testsupport::TempDirectory directory;
    const std::string path = directory.WriteFile("data.bin", "abcd");
    DiskFile reader(path, DiskFile::kModeRead);
    reader.WriteU8(1);
    EXPECT_TRUE(reader.HasFailed());

    DiskFile writer(directory.Path() + "/out.bin", DiskFile::kModeWrite);
    std::uint8_t byte = 5;
    writer.ReadU8(byte);
    EXPECT_EQ(byte, 5);
    EXPECT_TRUE(writer.HasFailed());
}

// A full disk: the device accepts the buffered bytes and refuses them at the flush.
TEST(DiskFileStream, WriteErrorIsReportedAfterClose) {
    if (!std::ifstream("/dev/full").good()) {
        GTEST_SKIP() << "no /dev/full";
    }
    DiskFile file("/dev/full", DiskFile::kModeWrite);
    ASSERT_TRUE(file.IsOpen());
    file << MakeGraph();
    file.Close();
    EXPECT_TRUE(file.HasFailed());
}

TEST(DiskFileStream, CleanCloseIsNoFailure) {
    testsupport::TempDirectory directory;
    DiskFile file(directory.Path() + "/ok.bin", DiskFile::kModeWrite);
    file.WriteU32(7);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.HasFailed());
    // The stream is closed now: further writes go nowhere and say so.
    file.WriteU32(8);
    EXPECT_TRUE(file.HasFailed());
}
