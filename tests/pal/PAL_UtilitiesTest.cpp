#include "core/Core_Clock.h"
#include "os/OS_Path.h"
#include "pal/PAL_ExecutablePath.h"
#include "pal/PAL_FileSystem.h"
#include "pal/PAL_Stopwatch.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

TEST(ExecutablePath, SplitsAtTheLastSeparatorOfEitherKind) {
    const struct {
        const char* path;
        const char* directory;
        const char* name;
    } cases[] = {
        {"C:\\Games\\App\\game.exe", "C:\\Games\\App", "game.exe"},
        {"/opt/emberline/bin/Emberline", "/opt/emberline/bin", "Emberline"},
        {"/opt/mixed\\dir/run", "/opt/mixed\\dir", "run"},
        {"game.exe", "", "game.exe"},
    };
    for (const auto& [path, directory, name] : cases) {
        os::SetExecutablePathForTesting(path);
        EXPECT_TRUE(GetExecutableDirectory() == directory && GetExecutableFileName() == name) << path;
    }
    os::SetExecutablePathForTesting("");
    EXPECT_EQ(GetExecutableFileName(), "test_pal");
    const std::string path = std::string(GetExecutableDirectory()) + "/" + std::string(GetExecutableFileName());
    EXPECT_EQ(access(path.c_str(), X_OK), 0);
}

// A bare name from a listing is looked up in the working directory, not the
// listed one; a fifo is a "system file".
TEST(FileTests, EachKindOfEntryAndAMissingPath) {
    testsupport::TempDirectory root;
    const std::string file = root.WriteFile("Saves/slot1.sav", "");
    const std::string fifo = root.Path() + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::tuple<std::string, bool, bool> cases[] = {
        {root.Path() + "\\SAVES", true, false}, {file, false, false},       {fifo, false, true},
        {root.Path() + "/absent", false, false}, {"slot1.sav", false, false}, {"", false, false}};
    for (const auto& [path, directory, system] : cases) {
        EXPECT_TRUE(IsDirectory(path) == directory && IsSystemFile(path) == system) << path;
    }
}

// Appended to what the list held; a missing directory adds nothing.
TEST(DirectoryList, TwoFilesGiveFourSortedNames) {
    testsupport::TempDirectory root;
    root.WriteFile("Saves/b.sav", "");
    root.WriteFile("Saves/A.sav", "");
    Core::StringVector names{"earlier"};
    ListDirectory(root.Path() + "\\saves\\", names);
    EXPECT_EQ(names, (Core::StringVector{"earlier", ".", "..", "A.sav", "b.sav"}));
    ListDirectory(root.Path() + "\\Replays", names);
    EXPECT_EQ(names.size(), 5u);
}

TEST(Stopwatch, ReadsZeroUntilStartedAndAfterResetAndTheClockOtherwise) {
    static double now = 1000.0;
    const Core::ClockFunction previous = Core::GetClockFunction();
    Core::SetClockFunction([] { return now; });
    Stopwatch stopwatch;
    now = 5000.0;
    EXPECT_EQ(stopwatch.GetElapsed(), 0.0);
    stopwatch.Start();
    now = 5016.5;
    EXPECT_TRUE(stopwatch.IsRunning() && stopwatch.GetElapsed() == 16.5);
    stopwatch.Start();  // already running: the start time stays
    now = 6000.25;
    EXPECT_EQ(stopwatch.GetElapsed(), 1000.25);
    stopwatch.Reset();
    now = 7000.0;
    EXPECT_TRUE(!stopwatch.IsRunning() && stopwatch.GetElapsed() == 0.0);
    Core::SetClockFunction(previous);
}
