#pragma once

#include "mygame/MyGame_PlayerProfile.h"

#include <string>
#include <string_view>

// "profile.sav": unlocked and selected weapons in decimal, the two stages as
// raw bytes, the currency in decimal, then the seventeen upgrade levels as
// raw bytes, one field a line.
std::string FormatProfile(const PlayerProfile& profile);

// Every field that is missing, on a last line cut before its newline, or
// out of range takes its new-profile value; damaged when one did, or when
// anything follows the last field.
struct ReadProfile {
    PlayerProfile profile;
    bool damaged = false;
};
ReadProfile ParseProfile(std::string_view text);
