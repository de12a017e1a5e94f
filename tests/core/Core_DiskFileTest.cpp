#include "Core_StreamTestClasses.h"

#include "core/Core_DiskFile.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace streamtest;
using Core::DiskFile;
using Core::RefPtr;

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A node with a child pointing back at it and a leaf in a list.
RefPtr<StreamList> MakeGraph() {
    auto root = Make<StreamNode>();
    root->child = Make<StreamNode>();
    root->child->parent = root.Get();
    root->value = 42;
    auto list = Make<StreamList>();
    list->items = {root, Make<StreamLeaf>()};
    return list;
}

}  // namespace

// Read back through an engine path with backslashes and another case; after
// Close the next object written gets id 1 again.
TEST(DiskFileStream, HoldsTheSameBytesAsAMemoryFileAndReadsBack) {
    testsupport::TempDirectory directory;
    const std::string path = directory.WriteFile("Saves/Graph.bin", "");
    RefPtr<StreamList> graph = MakeGraph();
    Core::MemoryFile memory;
    memory << graph << Core::String("tail");
    DiskFile disk(path, DiskFile::kModeWrite);
    disk << graph << Core::String("tail");
    disk.Close();
    EXPECT_FALSE(disk.HasFailed());
    const std::vector<std::uint8_t> bytes = BytesOf(memory);
    EXPECT_EQ(FileText(path), std::string(bytes.begin(), bytes.end()));

    DiskFile reader(directory.Path() + "\\saves\\GRAPH.bin", DiskFile::kModeRead);
    RefPtr<StreamList> back = reader.ReadObjectAs<StreamList>();
    ASSERT_NE(back, nullptr);
    auto* node = dynamic_cast<StreamNode*>(back->items.at(0).Get());
    ASSERT_TRUE(node != nullptr && node->child != nullptr);
    EXPECT_EQ(node->child->parent, node);
    EXPECT_EQ(node->value, 42u);
    Core::String tail;
    reader >> tail;
    EXPECT_EQ(tail, "tail");
    EXPECT_FALSE(reader.HasFailed());

    ASSERT_TRUE(disk.Open(path, DiskFile::kModeWrite));
    disk << node;
    disk.Close();
    EXPECT_EQ(FileText(path).substr(0, 13), std::string("\1\4\0\0\0Node\1\0\0\0", 13));
}

// Each stream is unusable: reads leave their targets as they were, writes go
// nowhere, and modes other than writing never create the file.
TEST(DiskFileStream, UnopenableFilesAndReadsBeyondTheFileFail) {
    testsupport::TempDirectory directory;
    const std::string missing = directory.Path() + "/missing.bin";
    const std::pair<std::string, std::int32_t> cases[] = {
        {missing, DiskFile::kModeRead},
        {directory.Path() + "/no/such/folder/file.bin", DiskFile::kModeWrite},
        {directory.Path(), DiskFile::kModeRead},  // a folder, not a file
        {directory.Path(), DiskFile::kModeWrite},
        {"/dev/null", DiskFile::kModeWrite},  // never replaced by a file
        {missing, 2},
        {missing, -1},
        {directory.WriteFile("short.bin", "\x01\x02"), DiskFile::kModeRead},
        {directory.WriteFile("huge.bin", std::string("\xFF\xFF\xFF\xFF" "abc", 7)), DiskFile::kModeRead},
    };
    for (const auto& [path, mode] : cases) {
        DiskFile file(path, mode);
        Core::String text("kept");
        file >> text;
        std::uint32_t value = 77;
        file.ReadU32(value);
        EXPECT_EQ(value, 77u) << path;
        EXPECT_EQ(text, "kept");
        EXPECT_EQ(file.ReadObject(), nullptr);
        file.WriteU32(1);
        file.Close();
        EXPECT_TRUE(file.HasFailed()) << path << " " << mode;
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

// A save that fails part way leaves the previous file byte for byte, says so,
// and leaves no temporary file behind; one that succeeds replaces it whole.
TEST(DiskFileStream, FailedSaveKeepsThePreviousFile) {
    testsupport::TempDirectory directory;
    const std::string path = directory.WriteFile("save.bin", "previous save");
    const struct {
        const char* what;
        std::function<void(DiskFile&)> during;
        bool fails;
    } cases[] = {
        {"a save that succeeds", [](DiskFile&) {}, false},
        {"a writer that gives up", [](DiskFile& file) { file.SetFailed(); }, true},
        {"a disk that refuses the bytes",
         [](DiskFile&) {
             std::signal(SIGXFSZ, SIG_IGN);
             const rlimit limit{4096, RLIM_INFINITY};
             ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
         },
         true},
        {"a folder that refuses the rename",
         [&path](DiskFile&) {
             std::filesystem::remove(path);
             std::filesystem::create_directories(path + "/in the way");
         },
         true},
    };
    for (const auto& c : cases) {
        const std::string before = FileText(path);
        {
            DiskFile file(path, DiskFile::kModeWrite);
            file << Core::String(c.what);
            for (int i = 0; i < 1000; ++i) {
                file << MakeGraph();
            }
            c.during(file);
            file.Close();
            EXPECT_EQ(file.HasFailed(), c.fails) << c.what;
        }
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &unlimited);
        if (std::filesystem::is_regular_file(path)) {
            EXPECT_EQ(FileText(path) == before, c.fails) << c.what;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.Path()), {}), 1) << c.what;
    }
}
