#pragma once

#include <array>
#include <cstdint>

// The game's balance and story, compiled in.

// One stage's row: enemy counts and wave sizes, boss kind, length, theme
// and weapon damage percentage.
struct LevelInfo {
    enum Column : std::uint32_t {
        kGroundEnemies = 0,
        kGroundPerWave = 1,
        kFlyingEnemies = 2,
        kFlyingPerWave = 3,
        kRollingSpikes = 4,
        kRollingPerWave = 5,
        kBossKind = 6,
        kLengthSeconds = 7,
        kTheme = 8,
        kDamagePercent = 9,
    };
    std::array<std::int32_t, 10> columns{};

    std::int32_t operator[](Column column) const { return columns[column]; }
    std::int32_t Theme() const { return columns[kTheme]; }
};

constexpr std::uint32_t kStageCount = 9;
constexpr std::uint32_t kWeaponCount = 5;
constexpr std::uint32_t kEnemyKindCount = 6;

// Stage 0..8; a larger index gives the last stage's row (debug assert).
const LevelInfo& GetLevelInfo(std::uint32_t stage);
std::uint32_t GetLevelCount();
// Rows by weapon number (bits 1, 2, 4, 8, 16), columns by enemy kind.
const std::array<float, kWeaponCount * kEnemyKindCount>& GetWeaponTable();
// The stage's lines, ended by an empty line; null above stage 8.
const char* const* GetStoryLines(std::uint32_t stage);
