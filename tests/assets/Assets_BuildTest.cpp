#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "AssetGen_Manifest.h"
#include "Assets_Tree.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using AssetGen::FileKind;
using AssetGen::ManifestRow;

extern char** environ;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Starts the generator over `resources` with the extra arguments.
pid_t StartGenerator(const std::vector<std::string>& extra, const std::string& resources) {
    std::vector<std::string> arguments = {TUNDRA_ASSETGEN, "--fonts", TUNDRA_DEJAVU_DIRECTORY};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    arguments.push_back(resources);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, TUNDRA_ASSETGEN, nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::set<std::string> FilesBelow(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.insert(fs::relative(entry.path(), root).generic_string());
        }
    }
    return files;
}

}  // namespace

TEST(AssetTree, HoldsExactlyTheManifestsFiles) {
    std::set<std::string> expected;
    for (const ManifestRow& row : AssetGen::Manifest()) {
        expected.insert(row.path);
    }
    EXPECT_EQ(FilesBelow(TUNDRA_RESOURCES_DIRECTORY), expected);
}

TEST(AssetTree, OneFileOfEveryKindHasTheSameBytesOnOneOrFourThreads) {
    // The first row of every kind, and a sheet of many frames.
    std::vector<std::string> chosen = {"Animations/PlayerDeath.png"};
    std::set<FileKind> kinds;
    for (const ManifestRow& row : AssetGen::Manifest()) {
        if (kinds.insert(row.kind).second) {
            chosen.push_back(row.path);
        }
    }
    std::vector<std::string> filter;
    for (const std::string& path : chosen) {
        filter.insert(filter.end(), {"--only", path});
    }
    const testsupport::TempDirectory folder;
    const std::string oneThread = folder.Path() + "/one/Resources";
    const std::string fourThreads = folder.Path() + "/four/Resources";
    std::vector<std::string> arguments = filter;
    arguments.insert(arguments.end(), {"--threads", "1"});
    ASSERT_EQ(WaitForExit(StartGenerator(arguments, oneThread)), 0);
    arguments = filter;
    arguments.insert(arguments.end(), {"--threads", "4"});
    ASSERT_EQ(WaitForExit(StartGenerator(arguments, fourThreads)), 0);

    EXPECT_EQ(FilesBelow(oneThread), std::set<std::string>(chosen.begin(), chosen.end()));
    for (const std::string& path : chosen) {
        const std::string bytes = ReadFile(oneThread + "/" + path);
        EXPECT_FALSE(bytes.empty()) << path;
        EXPECT_EQ(bytes, ReadFile(fourThreads + "/" + path)) << path;
        EXPECT_EQ(bytes, ReadFile(assettest::ResourcePath(path))) << path << " differs from the build's tree";
    }
}

TEST(AssetTree, AnInterruptedRunLeavesTheOldTreeOrNone) {
    const testsupport::TempDirectory folder;
    const std::string resources = folder.Path() + "/Resources";
    folder.WriteFile("Resources/old.txt", "the previous tree");
    for (const auto delay : {std::chrono::milliseconds(50), std::chrono::milliseconds(400)}) {
        const pid_t pid = StartGenerator({"--threads", "2"}, resources);
        std::this_thread::sleep_for(delay);
        ASSERT_EQ(kill(pid, SIGKILL), 0);
        EXPECT_EQ(WaitForExit(pid), -1) << "the run ended before it was interrupted";
        if (fs::exists(resources)) {
            EXPECT_EQ(FilesBelow(resources), std::set<std::string>{"old.txt"});
        }
    }
}
