#include "MyGame_DamagedSaveText.h"
#include "mygame/MyGame_DataFolder.h"
#include "mygame/MyGame_ProfileText.h"
#include "support/MyGame_TestGame.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

// A repair killed at any moment leaves the player's file in place: either
// the damaged one or its whole repair, never none.
namespace mygametest {
namespace {

using namespace std::string_literals;

// Written beside the target, then renamed over it: the file is never absent.
void PutInPlace(const std::string& path, const std::string& bytes) {
    const std::string next = path + ".next";
    std::ofstream(next, std::ios::binary | std::ios::trunc) << bytes;
    std::rename(next.c_str(), path.c_str());
}

using RepairKillTest = MyGameTest;

TEST_F(RepairKillTest, AKilledRepairLeavesTheDamagedFileOrItsRepair) {
    constexpr int kKills = 150;
    constexpr int kRepairsPerChild = 100000;
    const std::string damaged = "3\n65538\n\x03\n\x02\n77\n7"s;
    const ReadProfile salvaged = ParseProfile(damaged);
    ASSERT_TRUE(salvaged.damaged);
    const std::string repaired = FormatProfile(salvaged.profile);
    ASSERT_FALSE(ParseProfile(repaired).damaged);
    const std::string profile = DataFolder() + "/profile.sav";
    std::filesystem::create_directories(DataFolder());
    PutInPlace(profile, damaged);

    std::mt19937 draw(1411);
    for (int kill = 0; kill < kKills; ++kill) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::dup2(::open("/dev/null", O_WRONLY), STDERR_FILENO);
            for (int repair = 0; repair < kRepairsPerChild; ++repair) {
                PutInPlace(profile, damaged);
                if (repair == 0) {
                    (void)!::write(ready[1], "r", 1);
                }
                ReplaceDamagedDataFile("profile.sav", repaired);
            }
            ::_exit(0);
        }
        // The write end closed here, a child that dies first ends the read.
        ::close(ready[1]);
        char started = 0;
        const ssize_t signalled = ::read(ready[0], &started, 1);
        ::close(ready[0]);
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(draw));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        ASSERT_EQ(signalled, 1);

        ASSERT_TRUE(std::filesystem::is_regular_file(profile)) << "kill " << kill;
        const std::string left = ReadFileBytes(profile);
        ASSERT_TRUE(left == damaged || left == repaired) << "kill " << kill;
    }
}

}  // namespace
}  // namespace mygametest
