#include "mygame/MyGame_ProfileText.h"

#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_TextFields.h"

namespace {

// The shop's limit.
constexpr std::uint8_t kMaxUpgradeLevel = 5;

void AppendRawByteLine(std::string& text, std::uint8_t value) {
    text += static_cast<char>(value);
    text += '\n';
}

// A weapon a hand can hold.
bool IsHandWeapon(std::uint32_t bit) { return bit == 1 || bit == 2 || bit == 4 || bit == 8; }

bool IsSelection(std::uint32_t selected) { return IsHandWeapon(selected & 0xFFFFu) && IsHandWeapon(selected >> 16); }

ReadProfile ParseProfileLines(std::string_view text) {
    ReadProfile read{MakeNewProfile(), false};
    PlayerProfile& profile = read.profile;
    bool& damaged = read.damaged;
    TextFieldReader fields(text);
    const auto any = [](auto) { return true; };
    const auto isStage = [](std::uint8_t stage) { return stage < kStageCount; };
    const auto isLevel = [](std::uint8_t level) { return level <= kMaxUpgradeLevel; };
    TakeField(ParseNumber<std::uint16_t>(fields.NextToken()), any, profile.unlockedWeapons, damaged);
    TakeField(ParseNumber<std::uint32_t>(fields.NextToken()), IsSelection, profile.selectedWeapons, damaged);
    TakeField(fields.NextRawByte(), isStage, profile.highestStage, damaged);
    TakeField(fields.NextRawByte(), isStage, profile.currentStage, damaged);
    TakeField(ParseNumber<std::uint32_t>(fields.NextToken()), any, profile.currency, damaged);
    for (std::uint8_t& level : profile.upgradeLevels) {
        TakeField(fields.NextRawByte(), isLevel, level, damaged);
    }
    TakeField(fields.NextRawByte(), isLevel, profile.fifthWeaponLevel, damaged);
    damaged = damaged || !fields.AtEnd();
    return read;
}

}  // namespace

std::string FormatProfile(const PlayerProfile& profile) {
    std::string text;
    AppendIntegerLine(text, profile.unlockedWeapons);
    AppendIntegerLine(text, profile.selectedWeapons);
    AppendRawByteLine(text, profile.highestStage);
    AppendRawByteLine(text, profile.currentStage);
    AppendIntegerLine(text, profile.currency);
    for (const std::uint8_t level : profile.upgradeLevels) {
        AppendRawByteLine(text, level);
    }
    AppendRawByteLine(text, profile.fifthWeaponLevel);
    return text;
}

ReadProfile ParseProfile(std::string_view text) { return ParseSavedText(text, ParseProfileLines); }
