#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What "settings.sav" holds: the three control keys (ids of the engine's key
// table), the volume and the mute flag.
struct GameSettings {
    std::int32_t leftKeyId = 53;
    std::int32_t rightKeyId = 56;
    std::int32_t jumpKeyId = 75;
    float volume = 0.8f;
    std::uint8_t muted = 0;

    friend bool operator==(const GameSettings&, const GameSettings&) = default;
};

// Five lines: the key ids, the volume, the mute flag.
std::string FormatSettings(const GameSettings& settings);

// Every field that is missing, on a last line cut before its newline, or
// out of range takes its default; damaged when one did, or when anything
// follows the last field.
struct ReadSettings {
    GameSettings settings;
    bool damaged = false;
};
ReadSettings ParseSettings(std::string_view text);
