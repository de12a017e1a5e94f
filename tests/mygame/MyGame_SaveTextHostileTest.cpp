#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_ProfileText.h"
#include "mygame/MyGame_SettingsText.h"

#include "support/DamagedBytes.h"
#include "MyGame_DamagedSaveText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Both save-file readers against damaged text: whatever the bytes, every
// field comes out in range, a file read as undamaged writes back to text
// that reads the same, and a repaired record writes a clean file.
namespace {

using namespace mygametest;

struct SettingsFile {
    static GameSettings Parse(std::string_view text, bool& damaged) {
        const ReadSettings read = ParseSettings(text);
        damaged = read.damaged;
        return read.settings;
    }
    static std::string Format(const GameSettings& settings) { return FormatSettings(settings); }
    static std::vector<std::string> ValidFiles() {
        return {"53\n56\n75\n0.8\n0\n", "6\n195\n100\n1\n1\n", "53\n56\n75\n0.123457\n0\n", "90\n91\n92\n0\n1\n"};
    }
};

struct ProfileFile {
    static PlayerProfile Parse(std::string_view text, bool& damaged) {
        const ReadProfile read = ParseProfile(text);
        damaged = read.damaged;
        return read.profile;
    }
    static std::string Format(const PlayerProfile& profile) { return FormatProfile(profile); }
    static std::vector<std::string> ValidFiles() {
        PlayerProfile played = MakeNewProfile();
        played.unlockedWeapons = 31;
        played.selectedWeapons = 8 + 65536 * 4;
        played.highestStage = 8;
        played.currentStage = 5;
        played.currency = 4294967295u;
        for (std::uint8_t index = 0; index < 16; ++index) {
            played.upgradeLevels[index] = index % 6;
        }
        played.fifthWeaponLevel = 3;
        return {FormatProfile(MakeNewProfile()), FormatProfile(played)};
    }
};

// What the reader makes of the text is a record in range; written back, it
// reads again as the same record, undamaged, and writes the same text.
template <class File>
void ExpectSound(const std::string& text, const char* what, std::size_t index) {
    bool damaged = false;
    const auto record = File::Parse(text, damaged);
    ASSERT_TRUE(InRange(record)) << what << " " << index;
    const std::string written = File::Format(record);
    bool again = true;
    ASSERT_EQ(File::Parse(written, again), record) << what << " " << index;
    ASSERT_FALSE(again) << what << " " << index;
}

template <class File>
void CheckDamagedTexts() {
    const std::vector<std::string> validFiles = File::ValidFiles();
    for (const std::string& valid : validFiles) {
        bool damaged = true;
        EXPECT_EQ(File::Format(File::Parse(valid, damaged)), valid);
        EXPECT_FALSE(damaged);
        const std::vector<std::uint8_t> bytes(valid.begin(), valid.end());
        testsupport::ForEachDamaged(bytes, 0, 1, 0, [&](const std::vector<std::uint8_t>& cut, const char* what,
                                                        std::size_t index) {
            ExpectSound<File>(std::string(cut.begin(), cut.end()), what, index);
        });
        for (std::size_t at = 0; at < valid.size(); ++at) {
            for (int value = 0; value < 256; ++value) {
                std::string changed = valid;
                changed[at] = static_cast<char>(value);
                ExpectSound<File>(changed, "one byte changed at", at * 256 + static_cast<std::size_t>(value));
            }
        }
    }
    std::mt19937 draw(20211);
    const int runs = MutationRuns("TUNDRA_SAVE_TEXT_MUTATIONS", 10000);
    for (int mutation = 0; mutation < runs; ++mutation) {
        const std::string& valid = validFiles[static_cast<std::size_t>(mutation) % validFiles.size()];
        ExpectSound<File>(Mutated(valid, draw), "mutation", static_cast<std::size_t>(mutation));
    }
}

TEST(SaveTextHostile, SettingsReaderKeepsEveryFieldInRange) { CheckDamagedTexts<SettingsFile>(); }

TEST(SaveTextHostile, ProfileReaderKeepsEveryFieldInRange) { CheckDamagedTexts<ProfileFile>(); }

}  // namespace
