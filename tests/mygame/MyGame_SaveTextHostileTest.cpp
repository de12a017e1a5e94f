#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_ProfileText.h"
#include "mygame/MyGame_SettingsText.h"

#include "support/DamagedBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

// Both save-file readers against damaged text: whatever the bytes, every
// field comes out in range, a file read as undamaged writes back to text
// that reads the same, and a repaired record writes a clean file.
namespace {

using namespace std::string_literals;

// TUNDRA_SAVE_TEXT_MUTATIONS asks for a longer run by hand.
int MutationCount() {
    const char* asked = std::getenv("TUNDRA_SAVE_TEXT_MUTATIONS");
    return asked != nullptr ? std::atoi(asked) : 10000;
}

// One to three edits of the kinds a disk, an editor or a careless copy make.
std::string Mutated(const std::string& text, std::mt19937& draw) {
    if (draw() % 50 == 0) {
        std::string noise(draw() % 200, '\0');
        for (char& c : noise) {
            c = static_cast<char>(draw());
        }
        return noise;
    }
    static const std::string kBlanks = " \t\r\n\v\f";
    std::string damaged = text;
    const auto at = [&] { return damaged.empty() ? 0 : draw() % (damaged.size() + 1); };
    const auto lineAround = [&](std::size_t where) {
        const std::size_t start = damaged.rfind('\n', where == 0 ? 0 : where - 1);
        const std::size_t begin = start == std::string::npos || where == 0 ? 0 : start + 1;
        const std::size_t end = damaged.find('\n', begin);
        return std::pair(begin, end == std::string::npos ? damaged.size() : end + 1);
    };
    for (std::uint32_t edits = 1 + draw() % 3; edits > 0; --edits) {
        const std::size_t where = at();
        switch (draw() % 9) {
            case 0:
                if (where < damaged.size()) {
                    damaged[where] = static_cast<char>(damaged[where] ^ (1 << draw() % 8));
                }
                break;
            case 1:
                damaged.insert(where, 1, static_cast<char>('0' + draw() % 10));
                break;
            case 2:
                damaged.insert(where, 1, kBlanks[draw() % kBlanks.size()]);
                break;
            case 3:
                damaged.insert(where, 1, draw() % 2 == 0 ? '\0' : '\xFF');
                break;
            case 4: {
                const auto [begin, end] = lineAround(where);
                damaged.erase(begin, end - begin);
                break;
            }
            case 5: {
                const auto [begin, end] = lineAround(where);
                damaged.insert(begin, damaged.substr(begin, end - begin));
                break;
            }
            case 6:
                if (draw() % 20 == 0) {
                    damaged.insert(where, std::string(1 << 20, static_cast<char>('0' + draw() % 10)) + "\n");
                }
                break;
            case 7:
                if (where < damaged.size()) {
                    damaged[where] = static_cast<char>(draw());
                }
                break;
            default:
                damaged.resize(where);
                break;
        }
    }
    return damaged;
}

bool InRange(const GameSettings& settings) {
    const auto isKey = [](std::int32_t id) { return id >= 6 && id <= 195; };
    return isKey(settings.leftKeyId) && isKey(settings.rightKeyId) && isKey(settings.jumpKeyId) &&
           std::isfinite(settings.volume) && settings.volume >= 0.0f && settings.volume <= 1.0f &&
           settings.muted <= 1;
}

bool InRange(const PlayerProfile& profile) {
    const auto isHand = [](std::uint32_t bit) { return bit == 1 || bit == 2 || bit == 4 || bit == 8; };
    bool levels = profile.fifthWeaponLevel <= 5;
    for (const std::uint8_t level : profile.upgradeLevels) {
        levels = levels && level <= 5;
    }
    return levels && isHand(profile.LeftWeapon()) && isHand(profile.RightWeapon()) &&
           profile.highestStage < kStageCount && profile.currentStage < kStageCount;
}

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
    std::mt19937 draw(20211);
    for (const std::string& valid : File::ValidFiles()) {
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
        for (int mutation = 0; mutation < MutationCount(); ++mutation) {
            ExpectSound<File>(Mutated(valid, draw), "mutation", static_cast<std::size_t>(mutation));
        }
    }
}

TEST(SaveTextHostile, SettingsReaderKeepsEveryFieldInRange) { CheckDamagedTexts<SettingsFile>(); }

TEST(SaveTextHostile, ProfileReaderKeepsEveryFieldInRange) { CheckDamagedTexts<ProfileFile>(); }

}  // namespace
