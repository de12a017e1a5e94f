#include "core/Core_ErrorLogTestHooks.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_ProfileText.h"
#include "mygame/MyGame_SettingsText.h"
#include "os/OS_FileTestHooks.h"
#include "os/OS_HeadlessMessageBoxHooks.h"
#include "support/MyGame_TestGame.h"

#include "MyGame_DamagedSaveText.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

// The settings and profile files as the game reads and writes them.
namespace mygametest {
namespace {

using namespace std::string_literals;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const std::string kNewSettings = "53\n56\n75\n0.8\n0\n";
const std::string kNewProfile = "3\n65538\n\0\n\0\n300\n"s + "\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n\0\n"s;

class SaveFilesTest : public MyGameTest {
protected:
    std::string Settings() const { return DataFolder() + "/settings.sav"; }
    std::string Profile() const { return DataFolder() + "/profile.sav"; }
    void WriteFiles(const std::string& settings, const std::string& profile) const {
        std::filesystem::create_directories(DataFolder());
        WriteFile(Settings(), settings);
        WriteFile(Profile(), profile);
    }
    GameSettings LoadedSettings() {
        const GameGlobals& globals = Globals();
        return {globals.leftKeyId, globals.rightKeyId, globals.jumpKeyId, Game().GetVolume(),
                static_cast<std::uint8_t>(Game().IsMuted())};
    }
    // Another run of the game over the same files.
    MyGame& Restart() {
        EndGame();
        m_game = MakeGame(std::make_unique<TestContent>());
        return *m_game;
    }
};

TEST_F(SaveFilesTest, FirstRunWritesTheDefaults) {
    testing::internal::CaptureStdout();
    StartGame();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "SetUnlockWeapons: 3\n");
    EXPECT_EQ(ReadFileBytes(Settings()), kNewSettings);
    EXPECT_EQ(ReadFileBytes(Profile()), kNewProfile);
    EXPECT_EQ(kNewProfile.size(), 50u);
    EXPECT_EQ(Game().GetProfile(), MakeNewProfile());
    EXPECT_EQ(LoadedSettings(), GameSettings{});
}

TEST_F(SaveFilesTest, WhatIsSavedReadsBackAndSavesTheSameBytes) {
    StartGame();
    Game().GetProfile().currency = 1234;
    Game().GetProfile().currentStage = 4;
    Game().GetProfile().upgradeLevels[14] = 5;
    Game().StoreVolume(0.123456789f);
    Game().SetMuted(true);
    Globals().jumpKeyId = 195;
    Game().SaveProfile();
    Game().SaveSettings();
    const std::string profile = ReadFileBytes(Profile());
    const std::string settings = ReadFileBytes(Settings());
    EXPECT_EQ(profile.substr(0, 17), "3\n65538\n\0\n\x04\n1234\n"s);
    EXPECT_EQ(settings, "53\n56\n195\n0.123457\n1\n");
    const PlayerProfile saved = Game().GetProfile();

    Restart();
    EXPECT_EQ(Game().GetProfile(), saved);
    EXPECT_EQ(LoadedSettings(), (GameSettings{53, 56, 195, 0.123457f, 1}));
    Game().SaveProfile();
    Game().SaveSettings();
    EXPECT_EQ(ReadFileBytes(Profile()), profile);
    EXPECT_EQ(ReadFileBytes(Settings()), settings);
}

struct FileCase {
    const char* name;
    std::string settings;
    std::string profile;
    GameSettings readSettings;
    PlayerProfile readProfile;
};

void PrintTo(const FileCase& test, std::ostream* out) { *out << test.name; }

PlayerProfile Cut() {
    PlayerProfile profile = MakeNewProfile();
    profile.highestStage = 3;
    profile.currentStage = 2;
    profile.currency = 77;
    return profile;
}

class SaveFileCasesTest : public SaveFilesTest, public testing::WithParamInterface<FileCase> {};

// Undamaged files are read and left as they are; a damaged one is moved to
// "<name>.damaged" byte for byte and written again with what could be read
// (defaults for the rest), and one line on stderr says so.
TEST_P(SaveFileCasesTest, DamagedFilesAreKeptAsideAndRepaired) {
    const FileCase& test = GetParam();
    WriteFiles(test.settings, test.profile);
    Core::testhooks::StartCapturingErrors();
    StartGame();
    const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
    EXPECT_EQ(LoadedSettings(), test.readSettings);
    EXPECT_EQ(Game().GetProfile(), test.readProfile);
    std::size_t damaged = 0;
    for (const auto& [path, bytes, written] : {std::tuple(Settings(), test.settings, FormatSettings(test.readSettings)),
                                               std::tuple(Profile(), test.profile, FormatProfile(test.readProfile))}) {
        if (std::filesystem::exists(path + ".damaged")) {
            ++damaged;
            EXPECT_EQ(ReadFileBytes(path + ".damaged"), bytes) << path;
            EXPECT_EQ(ReadFileBytes(path), written) << path;
        } else {
            EXPECT_EQ(ReadFileBytes(path), bytes) << path;
        }
    }
    EXPECT_EQ(errors.size(), damaged);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveFileCasesTest,
    testing::Values(
        FileCase{"Written", kNewSettings, kNewProfile, {}, MakeNewProfile()},
        FileCase{"LinesEndingInCrLf", "53\r\n56\r\n75\r\n0.35\r\n1\r\n", "3\r\n65538\r\n" + kNewProfile.substr(8),
                 {53, 56, 75, 0.35f, 1}, MakeNewProfile()},
        FileCase{"BadKeys", "53\n999\nx\n0.35\n1\n", kNewProfile, {53, 56, 75, 0.35f, 1}, MakeNewProfile()},
        FileCase{"ProfileCutAfterCurrency", kNewSettings, "3\n65538\n\x03\n\x02\n77\n", {}, Cut()},
        FileCase{"CutInsideAField", "53\n56\n7", "3\n65538\n\x03\n\x02\n77\n7", {}, Cut()},
        FileCase{"NoWeaponInAHand", kNewSettings, "3\n65539\n" + kNewProfile.substr(8), {}, MakeNewProfile()},
        FileCase{"FifthWeaponInAHand", kNewSettings, "3\n65552\n" + kNewProfile.substr(8), {}, MakeNewProfile()},
        FileCase{"LongerThanTheGameWrites", kNewSettings + std::string(5000, ' '), kNewProfile, {},
                 MakeNewProfile()},
        FileCase{"Empty", "", "", {}, MakeNewProfile()}),
    [](const testing::TestParamInfo<FileCase>& info) { return info.param.name; });

TEST_F(SaveFilesTest, AProfileThatIsAFolderIsMovedAside) {
    std::filesystem::create_directories(Profile() + "/inside");
    StartGame();
    EXPECT_TRUE(std::filesystem::is_directory(Profile() + ".damaged/inside"));
    EXPECT_EQ(ReadFileBytes(Profile()), kNewProfile);
}

// A damaged file whose copy cannot be kept stays: nothing in the run
// writes over it, and the copies kept before stay as they were.
TEST_F(SaveFilesTest, ADamagedFileThatCannotBeKeptIsNotWritten) {
    const std::string damaged = "3\n65538\n\x03\n";
    WriteFiles(kNewSettings, damaged);
    for (const char* older : {".damaged", ".damaged.1", ".damaged.2", ".damaged.3"}) {
        WriteFile(Profile() + older, older);
    }
    // The oldest copy's place holds a folder that no file can replace.
    std::filesystem::create_directories(Profile() + ".damaged.4/full");
    Core::testhooks::StartCapturingErrors();
    StartGame();
    Game().SaveProfile();
    EXPECT_EQ(Core::testhooks::StopCapturingErrors(),
              std::vector<std::string>{"Emberline: profile.sav is damaged and could not be kept as "
                                       "profile.sav.damaged; it is left as it is and not written in this run"});
    EXPECT_EQ(ReadFileBytes(Profile()), damaged);
    EXPECT_EQ(ReadFileBytes(Profile() + ".damaged.3"), ".damaged.3");
    EXPECT_EQ(Game().GetProfile().highestStage, 3);
}

struct RepairCase {
    const char* name;
    int linksRefused;
    int commitsFailed;
    bool repaired;
    std::string line;
};

void PrintTo(const RepairCase& test, std::ostream* out) { *out << test.name; }

class RepairCasesTest : public SaveFilesTest, public testing::WithParamInterface<RepairCase> {};

// The damaged file stays in place until its repair replaces it, a copy is
// kept whether or not links can be made, and the line says what is left.
TEST_P(RepairCasesTest, TheFileIsTheDamagedOneOrItsRepair) {
    const RepairCase& test = GetParam();
    const std::string damaged = "3\n65538\n\x03\n\x02\n77\n7";
    WriteFiles(kNewSettings, damaged);
    os::testhooks::RefuseFileLinks(test.linksRefused);
    os::testhooks::FailReplacingFileCommits(test.commitsFailed);
    Core::testhooks::StartCapturingErrors();
    StartGame();
    EXPECT_EQ(Core::testhooks::StopCapturingErrors(), std::vector<std::string>{test.line});
    EXPECT_EQ(ReadFileBytes(Profile()), test.repaired ? FormatProfile(Cut()) : damaged);
    EXPECT_EQ(ReadFileBytes(Profile() + ".damaged"), damaged);
    EXPECT_EQ(Game().GetProfile(), Cut());
}

INSTANTIATE_TEST_SUITE_P(
    Repairs, RepairCasesTest,
    testing::Values(RepairCase{"Linked", 0, 0, true,
                               "Emberline: profile.sav was damaged; kept as profile.sav.damaged and written again, "
                               "with defaults for what could not be read"},
                    RepairCase{"CopiedWithoutLinks", 1, 0, true,
                               "Emberline: profile.sav was damaged; kept as profile.sav.damaged and written again, "
                               "with defaults for what could not be read"},
                    RepairCase{"RepairNotWritten", 0, 1, false,
                               "Emberline: profile.sav was damaged; kept as profile.sav.damaged but could not be "
                               "written again; the previous file is kept"}),
    [](const testing::TestParamInfo<RepairCase>& info) { return info.param.name; });

// Each damaged original is kept: the newest as "<name>.damaged", the ones
// before it numbered by age, the last five in all.
TEST_F(SaveFilesTest, DamagedFilesAreKeptByAge) {
    constexpr int kRuns = 7;
    for (int run = 1; run <= kRuns; ++run) {
        WriteFiles(kNewSettings, "damaged " + std::to_string(run));
        Restart();
    }
    for (int age = 0; age < 5; ++age) {
        const std::string copy = Profile() + ".damaged" + (age > 0 ? "." + std::to_string(age) : "");
        EXPECT_EQ(ReadFileBytes(copy), "damaged " + std::to_string(kRuns - age)) << age;
    }
    EXPECT_FALSE(std::filesystem::exists(Profile() + ".damaged.5"));
    EXPECT_EQ(ReadFileBytes(Profile()), kNewProfile);
}

// A folder the game cannot write: the player is told once in the run, and
// where the game tried to save.
TEST_F(SaveFilesTest, AFolderThatCannotBeWrittenIsToldOnce) {
    std::filesystem::create_directories(DataHome());
    WriteFile(DataFolder(), "a file where the folder goes");
    os::headless::ClearMessageBoxAnswers();
    Core::testhooks::StartCapturingErrors();
    StartGame();
    Game().SaveProfile();
    Game().SaveSettings();
    const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
    EXPECT_EQ(errors.size(), 4u);
    for (const std::string& error : errors) {
        EXPECT_TRUE(error.ends_with("; nothing is saved")) << error;
    }
    EXPECT_EQ(os::headless::MessageBoxCount(), 1);
    const os::headless::ShownMessageBox box = os::headless::LastMessageBox();
    EXPECT_EQ(box.text, "Your progress cannot be saved: the folder " + DataFolder() + " cannot be written.");
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.type, os::MB_OK | os::MB_ICONEXCLAMATION);
    EXPECT_EQ(box.windowTitle, "Emberline") << "the box stands over a window of another name";
}

TEST_F(SaveFilesTest, AFailedSaveLeavesTheOldFile) {
    StartGame();
    Game().GetProfile().currency = 5;
    Game().SetMuted(true);
    Core::testhooks::StartCapturingErrors();
    os::testhooks::FailReplacingFileCommits(2);
    Game().SaveProfile();
    Game().SaveSettings();
    EXPECT_EQ(Core::testhooks::StopCapturingErrors().size(), 2u);
    EXPECT_EQ(ReadFileBytes(Profile()), kNewProfile);
    EXPECT_EQ(ReadFileBytes(Settings()), kNewSettings);
}

// Damaged files on the disk, each read by a game that then runs a few
// frames: every value in range, the damaged file's bytes kept aside, an
// undamaged file left alone, and saving again writes what reads back.
TEST_F(SaveFilesTest, DamagedFilesOnTheDiskLeaveTheGameInRange) {
    std::mt19937 draw(77);
    PlayerProfile played = MakeNewProfile();
    played.highestStage = 6;
    played.upgradeLevels = {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3};
    const std::string profiles[] = {kNewProfile, FormatProfile(played)};
    for (int run = 0, runs = MutationRuns("TUNDRA_SAVE_FILE_MUTATIONS", 300); run < runs; ++run) {
        const std::string settings = Mutated(kNewSettings, draw);
        const std::string profile = Mutated(profiles[run % 2], draw);
        std::filesystem::remove_all(DataFolder());
        WriteFiles(settings, profile);
        Restart();
        Step(3);
        ASSERT_TRUE(InRange(LoadedSettings())) << run;
        ASSERT_TRUE(InRange(Game().GetProfile())) << run;
        const auto expectKept = [&](const std::string& path, const std::string& bytes, bool damaged) {
            ASSERT_EQ(std::filesystem::exists(path + ".damaged"), damaged || bytes.size() > 4096) << path << run;
            ASSERT_EQ(ReadFileBytes(std::filesystem::exists(path + ".damaged") ? path + ".damaged" : path), bytes)
                << path << run;
        };
        expectKept(Settings(), settings, ParseSettings(settings.substr(0, 4096)).damaged);
        expectKept(Profile(), profile, ParseProfile(profile.substr(0, 4096)).damaged);
        Game().SaveSettings();
        Game().SaveProfile();
        const ReadSettings settingsAgain = ParseSettings(ReadFileBytes(Settings()));
        const ReadProfile profileAgain = ParseProfile(ReadFileBytes(Profile()));
        ASSERT_FALSE(settingsAgain.damaged || profileAgain.damaged) << run;
        ASSERT_EQ(settingsAgain.settings, LoadedSettings()) << run;
        ASSERT_EQ(profileAgain.profile, Game().GetProfile()) << run;
    }
}

}  // namespace
}  // namespace mygametest
