#include "mygame/MyGame_PlayerProfile.h"

#include <cassert>

PlayerProfile MakeNewProfile() {
    PlayerProfile profile;
    profile.unlockedWeapons = 1 | 2;
    profile.selectedWeapons = 2 + 65536 * 1;
    profile.currency = 300;
    return profile;
}

std::uint8_t GetUpgradeLevel(const PlayerProfile& profile, std::uint32_t weaponBit, std::uint32_t stat) {
    if (weaponBit == 16 && stat == 0) {
        return profile.fifthWeaponLevel;
    }
    for (std::uint32_t weapon = 0; weapon < 4 && stat < 4; ++weapon) {
        if (kWeaponBits[weapon] == weaponBit) {
            return profile.upgradeLevels[4 * weapon + stat];
        }
    }
    assert(false && "no such weapon stat");
    return 0;
}
