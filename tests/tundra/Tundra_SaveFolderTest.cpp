#include "Tundra_SaveLoadTest.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "support/Tundra_NetworkRoles.h"
#include "os/OS_FileTestHooks.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace tundratest;

namespace {

std::vector<std::string> Names(const std::vector<Core::String>& names) {
    return std::vector<std::string>(names.begin(), names.end());
}

}  // namespace

TEST_F(SaveLoadTest, AFreshFolderGetsSavesAndASaveThatCannotBeWrittenKeepsTheOldFile) {
    SavingGame& game = StartScene();
    game.RequestSave("slot");
    Step(1);
    const FileBytes old = ReadBytes("slot");
    ASSERT_FALSE(old.empty());

    // A write error on the disk, then "Saves" taken by a file.
    os::testhooks::FailReplacingFileCommits(1);
    Core::testhooks::StartCapturingErrors();
    game.RequestSave("slot");
    Step(1);
    std::filesystem::rename(m_folder.Path() + "/Saves", m_folder.Path() + "/kept");
    std::ofstream(m_folder.Path() + "/Saves") << "taken";
    game.RequestSave("slot");
    Step(1);
    const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
    EXPECT_TRUE(Reported(errors, "slot", "write failed"));
    EXPECT_TRUE(Reported(errors, "slot", "no Saves folder"));
    std::filesystem::remove(m_folder.Path() + "/Saves");
    std::filesystem::rename(m_folder.Path() + "/kept", m_folder.Path() + "/Saves");
    EXPECT_EQ(ReadBytes("slot"), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.Path() + "/Saves"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(SaveLoadTest, SavedGamesListRegularFilesButStartingStatesReplayDataAndTemporaries) {
    SavingGame& game = StartScene();
    for (const char* name : {"gameSaved_OnReplayStart", "run_gameSaved", "x_replayData", "x_REPLAYDATA",
                             "x_RePlayData", "plain", ".plain.999999999.0.tmp"}) {
        WriteBytes(name, {1});
    }
    std::filesystem::create_directory(m_folder.Path() + "/Saves/folder");
    ASSERT_EQ(::mkfifo(SavePath("pipe").c_str(), 0600), 0);
    std::vector<Core::String> names{"stale"};
    game.GetSavedGames(names);
    EXPECT_EQ(Names(names), (std::vector<std::string>{"gameSaved_OnReplayStart", "plain"}));
}

TEST_F(SaveLoadTest, NamesThatLeaveTheFolderAndRequestsInANetworkGameAreRefused) {
    SavingGame& game = StartScene();
    ASSERT_TRUE(game.SaveStateTo(EnginePath("kept")));
    const std::uint64_t hash = game.GetStateHash();
    const std::vector<Core::String> badNames{"", "..", "..\\..\\x", "a/b", "a\\b", ".hidden",
                                             Core::String(std::string_view("a\0b", 3)), "tab\there",
                                             Core::String(std::string(256, 'n'))};
    for (const Core::String& name : badNames) {
        Core::testhooks::StartCapturingErrors();
        game.RequestSave(name);
        game.RequestLoad(name);
        const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
        EXPECT_TRUE(Reported(errors, "", "not a plain file name")) << name;
    }
    testsupport::SetNetworkRole(testsupport::NetworkRole::Host);
    Core::testhooks::StartCapturingErrors();
    game.RequestSave("online");
    game.RequestLoad("kept");
    const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
    EXPECT_TRUE(Reported(errors, "online", "network game") && Reported(errors, "kept", "network game"));
    testsupport::SetNetworkRole(testsupport::NetworkRole::Outside);
    // No request stood: the frame neither saves nor loads.
    Step(1);
    EXPECT_TRUE(ReadBytes("online").empty());
    EXPECT_NE(game.GetStateHash(), hash);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.Path() + "/Saves"),
                            std::filesystem::directory_iterator()),
              1);
}

// A save first writes ".<name>.<pid>.<n>.tmp", which must fit the file
// system's 255 bytes a name: longer save and recording names are refused as
// other bad names are, while a file of any plain name still loads.
TEST_F(SaveLoadTest, NamesTooLongForASavesTemporaryAreRefusedYetSuchFilesLoad) {
    SavingGame& game = StartScene();
    const auto named = [](std::size_t bytes, char letter) { return std::string(bytes, letter); };
    Core::testhooks::StartCapturingErrors();
    game.RequestSave(Core::String(named(228, 'n')));
    Step(1);
    // "_gameSaved" and "_replayData" make 227 and 228 bytes.
    // The frame after the starting state's load is skipped (a frame of 0 ms).
    game.ReplayRecordingStart(Core::String(named(217, 'r')));
    Step(2);
    game.ReplayRecordingStop();
    Step(1);
    EXPECT_TRUE(Core::testhooks::StopCapturingErrors().empty());
    EXPECT_FALSE(ReadBytes(named(228, 'n')).empty());
    EXPECT_FALSE(ReadBytes(named(217, 'r') + "_replayData").empty());

    for (const std::string& name : {named(229, 'n'), named(240, 'n'), named(255, 'n')}) {
        Core::testhooks::StartCapturingErrors();
        game.RequestSave(Core::String(name));
        Step(1);
        EXPECT_TRUE(Reported(Core::testhooks::StopCapturingErrors(), "", "not a plain file name")) << name.size();
        EXPECT_FALSE(std::filesystem::exists(SavePath(name))) << name.size();
    }
    Core::testhooks::StartCapturingErrors();
    game.ReplayRecordingStart(Core::String(named(218, 'r')));
    EXPECT_FALSE(game.IsReplayRecording());
    EXPECT_TRUE(Reported(Core::testhooks::StopCapturingErrors(), "", "not a plain file name"));

    WriteBytes(named(255, 'n'), ReadBytes(named(228, 'n')));
    Core::testhooks::StartCapturingErrors();
    game.RequestLoad(Core::String(named(255, 'n')));
    Step(1);
    EXPECT_TRUE(Core::testhooks::StopCapturingErrors().empty());
}
