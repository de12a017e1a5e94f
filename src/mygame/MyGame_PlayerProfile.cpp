#include "mygame/MyGame_PlayerProfile.h"

#include <cassert>
#include <limits>

PlayerProfile MakeNewProfile() {
    PlayerProfile profile;
    profile.unlockedWeapons = 1 | 2;
    profile.selectedWeapons = 2 + 65536 * 1;
    profile.currency = 300;
    return profile;
}

void AddCurrency(PlayerProfile& profile, std::uint32_t amount) {
    const std::uint32_t room = std::numeric_limits<std::uint32_t>::max() - profile.currency;
    profile.currency += amount < room ? amount : room;
}

namespace {

// The byte of a stat of a weapon bit; null for any other pair.
template <class Profile>
auto* UpgradeByte(Profile& profile, std::uint32_t weaponBit, std::uint32_t stat) {
    if (weaponBit == 16 && stat == 0) {
        return &profile.fifthWeaponLevel;
    }
    for (std::uint32_t weapon = 0; weapon < 4 && stat < 4; ++weapon) {
        if (kWeaponBits[weapon] == weaponBit) {
            return &profile.upgradeLevels[4 * weapon + stat];
        }
    }
    return static_cast<decltype(&profile.fifthWeaponLevel)>(nullptr);
}

}  // namespace

std::uint8_t GetUpgradeLevel(const PlayerProfile& profile, std::uint32_t weaponBit, std::uint32_t stat) {
    const std::uint8_t* level = UpgradeByte(profile, weaponBit, stat);
    assert(level != nullptr && "no such weapon stat");
    return level != nullptr ? *level : 0;
}

void SetUpgradeLevel(PlayerProfile& profile, std::uint32_t weaponBit, std::uint32_t stat, std::uint8_t level) {
    if (std::uint8_t* upgrade = UpgradeByte(profile, weaponBit, stat)) {
        *upgrade = level;
    }
}
