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
#include <sys/wait.h>
#include <unistd.h>

using namespace streamtest;
using Core::DiskFile;

namespace {
std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

// Read back through an engine path with backslashes and another case; after
// Close the next object written gets id 1 again.
TEST(DiskFileStream, HoldsTheSameBytesAsAMemoryFileAndReadsBack) {
    testsupport::TempDirectory directory;
    const std::string path = directory.WriteFile("Saves/Graph.bin", "");
    auto graph = MakeChain(2);
    graph->child->parent = graph.Get();
    graph->value = 42;
    Core::MemoryFile memory;
    DiskFile disk(path, DiskFile::kModeWrite);
    for (Core::File* file : {static_cast<Core::File*>(&memory), static_cast<Core::File*>(&disk)}) {
        *file << graph << Core::String("tail");
    }
    disk.Close();
    const std::vector<std::uint8_t> bytes = BytesOf(memory);
    EXPECT_EQ(FileText(path), std::string(bytes.begin(), bytes.end()));

    DiskFile reader(directory.Path() + "\\saves\\GRAPH.bin", DiskFile::kModeRead);
    Core::RefPtr<StreamNode> back = reader.ReadObjectAs<StreamNode>();
    ASSERT_TRUE(back != nullptr && back->child != nullptr);
    EXPECT_TRUE(back->child->parent == back.Get() && back->value == 42);
    Core::String tail;
    reader >> tail;
    EXPECT_TRUE(tail == "tail" && !reader.HasFailed());

    ASSERT_TRUE(disk.Open(path, DiskFile::kModeWrite));
    disk << back->child;
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
        file.WriteU32(1);
        EXPECT_TRUE(value == 77u && text == "kept" && file.ReadObject() == nullptr) << path;
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
    const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}, small{4096, RLIM_INFINITY};
    std::signal(SIGXFSZ, SIG_IGN);
    const std::function<void(DiskFile&)> cases[] = {
        [](DiskFile&) {},                                                 // succeeds
        [](DiskFile& file) { file.SetFailed(); },                         // the writer gives up
        [&](DiskFile&) { setrlimit(RLIMIT_FSIZE, &small); },              // the disk refuses the bytes
        [&](DiskFile&) { std::filesystem::create_directories(path + ".dir/in the way"); },
    };
    for (int round = 0; round < 4; ++round) {
        const std::string before = FileText(path);
        const std::string target = round == 3 ? path + ".dir" : path;  // a folder refuses the rename
        {
            DiskFile file(target, DiskFile::kModeWrite);
            for (int i = 0; i < 1000; ++i) {
                file << Core::String(std::to_string(round)) << MakeChain(3);
            }
            cases[round](file);
            file.Close();
            EXPECT_EQ(file.HasFailed(), round > 0) << round;
        }
        setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(FileText(path) == before, round > 0) << round;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.Path()), {}), 1 + (round == 3)) << round;
    }
}

// A writer killed mid-save leaves its temporary file; the next save of the
// same target removes it, but never the temporary of a writer still running.
TEST(DiskFileStream, NextSaveRemovesTemporariesOfKilledWriters) {
    testsupport::TempDirectory directory;
    const std::string path = directory.WriteFile("save.bin", "previous save");
    // A child process that opens the save, writes part of it and waits.
    struct Writer {
        pid_t pid = 0;
        explicit Writer(const std::string& path) {
            int ready[2];
            EXPECT_EQ(::pipe(ready), 0);
            pid = ::fork();
            if (pid == 0) {
                DiskFile file(path, DiskFile::kModeWrite);
                file.Write(std::string(1 << 20, 'x').data(), 1 << 20);
                (void)!::write(ready[1], "w", 1);
                ::pause();
                ::_exit(0);
            }
            char started = 0;
            EXPECT_EQ(::read(ready[0], &started, 1), 1);
            ::close(ready[0]);
            ::close(ready[1]);
        }
        ~Writer() { Kill(); }
        void Kill() {
            if (pid > 0) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
                pid = 0;
            }
        }
    };
    const auto entries = [&] { return std::distance(std::filesystem::directory_iterator(directory.Path()), {}); };
    Writer killed(path);
    killed.Kill();
    EXPECT_EQ(entries(), 2);
    Writer running(path);
    EXPECT_EQ(entries(), 2);  // the killed writer's temporary went, the running one's came

    DiskFile file(path, DiskFile::kModeWrite);
    file << Core::String("new save");
    file.Close();
    EXPECT_FALSE(file.HasFailed());
    EXPECT_EQ(entries(), 2);
    running.Kill();
    ASSERT_TRUE(file.Open(path, DiskFile::kModeWrite));
    file.Close();
    EXPECT_EQ(entries(), 1);
    EXPECT_EQ(FileText(path), "");
}
