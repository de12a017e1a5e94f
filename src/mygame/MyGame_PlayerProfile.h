#pragma once

#include <array>
#include <cstdint>

// Weapon bits, as stored, compared and used as a table row (bit 1 is row 0).
constexpr std::uint32_t kWeaponBits[5] = {1, 2, 4, 8, 16};

// The player's progress.
struct PlayerProfile {
    std::uint16_t unlockedWeapons = 0;
    // Low half: the right hand's weapon bit; high half: the left hand's.
    std::uint32_t selectedWeapons = 0;
    std::uint8_t highestStage = 0;
    std::uint8_t currentStage = 0;
    std::uint32_t currency = 0;
    // Four stats (0 damage .. 3 move speed) of the weapons with bits 1, 2, 4, 8.
    std::array<std::uint8_t, 16> upgradeLevels{};
    // The one level of the weapon with bit 16.
    std::uint8_t fifthWeaponLevel = 0;

    std::uint32_t RightWeapon() const { return selectedWeapons & 0xFFFFu; }
    std::uint32_t LeftWeapon() const { return selectedWeapons >> 16; }

    friend bool operator==(const PlayerProfile&, const PlayerProfile&) = default;
};

// Weapons 1 and 2 unlocked, 1 in the left hand, 2 in the right, 300 currency.
PlayerProfile MakeNewProfile();

// Adds to the currency; a sum past the largest count stays at it, so that
// earning never lowers the currency.
void AddCurrency(PlayerProfile& profile, std::uint32_t amount);

// The level of a stat (0..3) of a weapon bit; bit 16 has stat 0 only. Any
// other pair gives 0 (debug assert).
std::uint8_t GetUpgradeLevel(const PlayerProfile& profile, std::uint32_t weaponBit, std::uint32_t stat);
// Sets the level GetUpgradeLevel reads; any other pair changes nothing.
void SetUpgradeLevel(PlayerProfile& profile, std::uint32_t weaponBit, std::uint32_t stat, std::uint8_t level);
