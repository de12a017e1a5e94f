#include "mygame/MyGame_ProfileText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

std::string NewProfileText() {
    std::string text = "3\n65538\n\0\n\0\n300\n"s;
    for (int level = 0; level < 17; ++level) {
        text += "\0\n"s;
    }
    return text;
}

// The new profile's text with the line of the given number (from 1) replaced.
std::string WithLine(std::size_t number, const std::string& line) {
    std::string text = NewProfileText();
    std::size_t start = 0;
    for (std::size_t skipped = 1; skipped < number; ++skipped) {
        start = text.find('\n', start) + 1;
    }
    return text.replace(start, text.find('\n', start) - start, line);
}

TEST(ProfileText, NewProfileIsFiftyBytesAndReadsBack) {
    const PlayerProfile profile = MakeNewProfile();
    EXPECT_EQ(FormatProfile(profile), NewProfileText());
    EXPECT_EQ(NewProfileText().size(), 50u);

    PlayerProfile played = profile;
    played.currency = 1234;
    played.currentStage = 4;
    played.highestStage = 8;
    played.selectedWeapons = 8 + 65536 * 4;
    played.unlockedWeapons = 0xFFFF;
    for (std::uint8_t index = 0; index < 16; ++index) {
        played.upgradeLevels[index] = index % 6;
    }
    played.fifthWeaponLevel = 5;
    const std::string text = FormatProfile(played);
    EXPECT_EQ(text.substr(0, 26), "65535\n262152\n\x08\n\x04\n1234\n\0\n\x01\n"s);
    const ReadProfile read = ParseProfile(text);
    EXPECT_FALSE(read.damaged);
    EXPECT_EQ(read.profile, played);
    EXPECT_EQ(FormatProfile(read.profile), text);
}

TEST(ProfileText, InvalidFieldsTakeTheNewProfileValues) {
    PlayerProfile crlf = MakeNewProfile();
    crlf.upgradeLevels[15] = 4;
    PlayerProfile levelFive = MakeNewProfile();
    levelFive.fifthWeaponLevel = 5;
    std::string crlfText = FormatProfile(crlf);
    for (std::size_t at = crlfText.find('\n'); at != std::string::npos; at = crlfText.find('\n', at + 2)) {
        crlfText.insert(at, "\r");
    }
    PlayerProfile stages = MakeNewProfile();
    stages.highestStage = 3;
    stages.currentStage = 2;
    std::string noFinalNewline = FormatProfile(levelFive);
    noFinalNewline.pop_back();
    const struct {
        std::string text;
        PlayerProfile profile;
        bool damaged;
    } cases[] = {
        {crlfText, crlf, false},
        // A last line without its newline was cut, "7" may be "77" cut short;
        // unless it completes the file, which lacks only that newline.
        {"3\n65538\n\x03\n\x02\n7"s, stages, true},
        {noFinalNewline, levelFive, false},
        {WithLine(2, "0"), MakeNewProfile(), true},
        {WithLine(1, "65536"), MakeNewProfile(), true},
        {WithLine(1, "-1"), MakeNewProfile(), true},
        {WithLine(3, "\x7f"), MakeNewProfile(), true},
        {WithLine(4, "8"), MakeNewProfile(), true},
        {WithLine(5, "4294967296"), MakeNewProfile(), true},
        {WithLine(6, "\x06"), MakeNewProfile(), true},
        {WithLine(22, "\x05"), levelFive, false},
        {WithLine(22, "\x05\x05"), levelFive, true},
        {"", MakeNewProfile(), true},
    };
    for (const auto& test : cases) {
        const ReadProfile read = ParseProfile(test.text);
        EXPECT_EQ(read.profile, test.profile) << testing::PrintToString(test.text);
        EXPECT_EQ(read.damaged, test.damaged) << testing::PrintToString(test.text);
    }
}

TEST(PlayerProfile, UpgradeLevelsByWeaponBitAndStat) {
    PlayerProfile profile;
    for (std::uint8_t index = 0; index < 16; ++index) {
        profile.upgradeLevels[index] = static_cast<std::uint8_t>(index + 1);
    }
    profile.fifthWeaponLevel = 42;
    EXPECT_EQ(GetUpgradeLevel(profile, 1, 0), 1);
    EXPECT_EQ(GetUpgradeLevel(profile, 2, 3), 8);
    EXPECT_EQ(GetUpgradeLevel(profile, 8, 2), 15);
    EXPECT_EQ(GetUpgradeLevel(profile, 16, 0), 42);
#ifdef NDEBUG
    for (const auto& [bit, stat] : {std::pair(3u, 0u), std::pair(16u, 1u), std::pair(4u, 4u), std::pair(0u, 0u)}) {
        EXPECT_EQ(GetUpgradeLevel(profile, bit, stat), 0);
    }
#else
    EXPECT_DEATH(GetUpgradeLevel(profile, 3, 0), "no such weapon stat");
    EXPECT_DEATH(GetUpgradeLevel(profile, 16, 1), "no such weapon stat");
    EXPECT_DEATH(GetUpgradeLevel(profile, 4, 4), "no such weapon stat");
#endif
}

}  // namespace
