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
    leaf->label = "shared leaf";
    root->child = child;
    root->leaf = leaf;
    child->peer = root.Get();
    child->leaf = leaf;
    return root;
}

}  // namespace

// Read back through an engine path with backslashes and another case.
TEST(DiskFileStream, HoldsTheSameBytesAsAMemoryFileAndReadsBack) {
    testsupport::TempDirectory directory;
    const std::string path = directory.WriteFile("Saves/Graph.bin", "");
    RefPtr<StreamNode> graph = MakeGraph();
    Core::MemoryFile memory;
    memory << graph << Core::String("tail");
    DiskFile disk(path, DiskFile::kModeWrite);
    disk << graph << Core::String("tail");
    disk.Close();
    EXPECT_FALSE(disk.HasFailed());
    EXPECT_EQ(FileBytes(path), streamtest::BytesOf(memory));

    DiskFile reader(directory.Path() + "\\saves\\GRAPH.bin", DiskFile::kModeRead);
    ASSERT_TRUE(reader.IsOpen());
    RefPtr<StreamNode> back = reader.ReadObjectAs<StreamNode>();
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->child, nullptr);
    EXPECT_EQ(back->child->peer, back.Get());
    EXPECT_EQ(back->leaf, back->child->leaf);
    EXPECT_EQ(back->leaf->number, 42);
    EXPECT_EQ(back->leaf->label, "shared leaf");
    Core::String tail;
    reader >> tail;
    EXPECT_EQ(tail, "tail");
    EXPECT_FALSE(reader.HasFailed());
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
    const std::pair<std::string, std::int32_t> cases[] = {
        {missing, DiskFile::kModeRead},
        {directory.Path() + "/no/such/folder/file.bin", DiskFile::kModeWrite},
        {directory.Path(), DiskFile::kModeRead},  // a folder, not a file
        {missing, 2},
        {missing, -1},
        {"", DiskFile::kModeRead},
    };
    for (const auto& [path, mode] : cases) {
        DiskFile file(path, mode);
        EXPECT_FALSE(file.IsOpen()) << path << " " << mode;
        EXPECT_TRUE(file.HasFailed()) << path << " " << mode;
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

TEST(DiskFileStream, ReadsBeyondTheFileOrAgainstTheModeFailAndChangeNothing) {
    testsupport::TempDirectory directory;
    DiskFile shortFile(directory.WriteFile("short.bin", "\x01\x02"), DiskFile::kModeRead);
    std::uint32_t value = 0xAABBCCDD;
    shortFile.ReadU32(value);
    EXPECT_EQ(value, 0xAABBCCDDu);
    EXPECT_TRUE(shortFile.HasFailed());

    // A string length beyond the file's size.
    DiskFile huge(directory.WriteFile("huge.bin", std::string("\xFF\xFF\xFF\xFF" "abc", 7)), DiskFile::kModeRead);
    Core::String text("kept");
    huge >> text;
    EXPECT_EQ(text, "kept");
    EXPECT_TRUE(huge.HasFailed());

    DiskFile reader(directory.WriteFile("data.bin", "abcd"), DiskFile::kModeRead);
    reader.WriteU8(1);
    EXPECT_TRUE(reader.HasFailed());
    DiskFile writer(directory.Path() + "/out.bin", DiskFile::kModeWrite);
    std::uint8_t byte = 5;
    writer.ReadU8(byte);
    EXPECT_EQ(byte, 5);
    EXPECT_TRUE(writer.HasFailed());
}

// A full disk accepts the buffered bytes and refuses them at the flush.
TEST(DiskFileStream, CloseReportsAWriteError) {
    testsupport::TempDirectory directory;
    DiskFile file(directory.Path() + "/ok.bin", DiskFile::kModeWrite);
    file.WriteU32(7);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.HasFailed());
    file.WriteU32(8);  // closed: goes nowhere and says so
    EXPECT_TRUE(file.HasFailed());

    if (!std::ifstream("/dev/full").good()) {
        GTEST_SKIP() << "no /dev/full";
    }
    DiskFile full("/dev/full", DiskFile::kModeWrite);
    ASSERT_TRUE(full.IsOpen());
    full << MakeGraph();
    full.Close();
    EXPECT_TRUE(full.HasFailed());
}
