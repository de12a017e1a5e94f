#include "mygame/MyGame_WeaponKind.h"

#include "mygame/MyGame.h"

std::int32_t WeaponAnimationIndex(std::uint32_t weaponBit) {
    for (std::int32_t i = 0; i < 5; ++i) {
        if (kWeaponBits[i] == weaponBit) {
            return i;
        }
    }
    return -1;
}

std::uint32_t SelectedWeaponOfHand(const char* objectName) {
    const MyGame* game = GetGame();
    if (game == nullptr) {
        return 0;
    }
    const PlayerProfile& profile = game->GetProfile();
    return objectName != nullptr && objectName[0] == 'L' ? profile.LeftWeapon() : profile.RightWeapon();
}
