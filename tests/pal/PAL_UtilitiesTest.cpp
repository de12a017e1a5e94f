#include "os/OS_Path.h"
#include "pal/PAL_ExecutablePath.h"
#include "pal/PAL_FileSystem.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class ExecutablePath : public testing::Test {
protected:
    void TearDown() override { os::SetExecutablePathForTesting(""); }
};

}  // namespace

TEST_F(ExecutablePath, SplitsAtTheLastSeparatorOfEitherKind) {
    struct Case {
        const char* path;
        const char* directory;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\Games\\App\\game.exe", "C:\\Games\\App", "game.exe"},
        {"/opt/emberline/bin/Emberline", "/opt/emberline/bin", "Emberline"},
        {"/opt/mixed\\dir/run", "/opt/mixed\\dir", "run"},
        {"game.exe", "", "game.exe"},
    };
    for (const Case& c : cases) {
        os::SetExecutablePathForTesting(c.path);
        EXPECT_EQ(GetExecutableDirectory(), c.directory) << c.path;
        EXPECT_EQ(GetExecutableFileName(), c.name) << c.path;
    }
}

TEST_F(ExecutablePath, TheRealProgramIsFound) {
    const Core::String directory = GetExecutableDirectory();
    const Core::String name = GetExecutableFileName();
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name, "test_pal");
    EXPECT_EQ(access((std::string(directory) + "/" + std::string(name)).c_str(), X_OK), 0);
}

TEST(FileTests, MissingPathIsNeitherDirectoryNorSystemFile) {
    testsupport::TempDirectory root;
    EXPECT_FALSE(IsDirectory(root.Path() + "/absent"));
    EXPECT_FALSE(IsSystemFile(root.Path() + "/absent"));
    // A bare name from a listing is looked up in the working directory, not the listed one.
    EXPECT_FALSE(IsDirectory("no-such-save.sav"));
    EXPECT_FALSE(IsSystemFile(""));
}

TEST(FileTests, EachKindOfEntry) {
    testsupport::TempDirectory root;
    const std::string file = root.WriteFile("Saves/slot1.sav", "");
    const std::string fifo = root.Path() + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(IsDirectory(root.Path() + "\\SAVES"));
    EXPECT_FALSE(IsSystemFile(root.Path() + "/Saves"));
    EXPECT_FALSE(IsDirectory(file));
    EXPECT_FALSE(IsSystemFile(file));
    EXPECT_TRUE(IsSystemFile(fifo));
    EXPECT_FALSE(IsDirectory(fifo));
}

TEST(DirectoryList, TwoFilesGiveFourSortedNamesAppended) {
    testsupport::TempDirectory root;
    root.WriteFile("Saves/b.sav", "");
    root.WriteFile("Saves/A.sav", "");
    Core::StringVector names{"earlier"};
    ListDirectory(root.Path() + "\\saves\\", names);
    const Core::StringVector expected{"earlier", ".", "..", "A.sav", "b.sav"};
    EXPECT_EQ(names, expected);
}

TEST(DirectoryList, MissingDirectoryLeavesTheListUnchanged) {
    testsupport::TempDirectory root;
    Core::StringVector names{"earlier"};
    ListDirectory(root.Path() + "\\Replays", names);
    EXPECT_EQ(names, Core::StringVector{"earlier"});
}
